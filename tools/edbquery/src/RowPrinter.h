#pragma once
#include <string>
#include <vector>

#include "CellValue.h"
#include "OutputFormats.h"

// Prints an answer in one format as its rows arrive: the text for the
// start, for each group of rows, and for the end. CSV and JSON give their
// text as the rows come; the table keeps every row to size its columns and
// gives it all at the end.
class RowPrinter {
 public:
  RowPrinter(OutputFormat format, OutputStyle style) : format_(format), style_(std::move(style)) {}

  // The text that starts the output of an answer with these columns.
  std::string Begin(const std::vector<std::string>& columns);
  // The text of the next rows.
  std::string Rows(std::vector<std::vector<CellValue>> rows);
  // The text that ends the output.
  std::string End();

 private:
  OutputFormat format_;
  OutputStyle style_;
  ResultGrid table_;  // the columns, and for the table format every row so far
  size_t printed_ = 0;
};
