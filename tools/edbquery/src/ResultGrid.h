#pragma once
#include <string>
#include <vector>

#include "CellValue.h"

// What a run prints: the column names and one row of values per row of
// the answer, each row as long as the column list.
struct ResultGrid {
  std::vector<std::string> columns;
  std::vector<std::vector<CellValue>> rows;
};
