#pragma once
#include <string>
#include <vector>

#include "CellValue.h"
#include "OutputFormats.h"

// Prints an answer in one format as its rows arrive: the text for the
// start, for each group of rows, and for the end, holding no row after
// its group. The table sizes its columns for each group, starting from the
// widths of the groups before (as wide as the widest value so far).
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
  std::vector<std::string> columns_;
  std::vector<size_t> widths_;  // the table's column widths so far
  size_t printed_ = 0;          // JSON: the rows printed; table: the groups printed
};
