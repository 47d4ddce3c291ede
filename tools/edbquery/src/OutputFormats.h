#pragma once
#include <string>

#include "Options.h"
#include "ResultGrid.h"

// How table and CSV output show what is not a value.
struct OutputStyle {
  std::string nullText;  // what a null prints as
  bool header = true;    // whether the column names come first
};

// The grid as one part of an aligned table: when first, a header line and
// a line of dashes, then one line per row, columns two blanks apart. Each
// column is as wide (in characters) as widths says, widened for the
// grid's names and values, and widths keeps what it was widened to for
// the next part: columns line up within a part, and a later part's
// columns only grow. Control
// characters in names and values are shown escaped (\n, \r, \t, \x1b,
// \u009b), so that no value moves the terminal's cursor or makes a line of
// its own. Nothing at all for a grid without columns.
std::string FormatTable(const ResultGrid& grid, const OutputStyle& style, std::vector<size_t>& widths,
                        bool first);
// The grid as CSV: a header line (unless the style leaves it out), then one
// line per row; a field holding a
// comma, a double quote or a line break is quoted, quotes doubled.
std::string FormatCsv(const ResultGrid& grid, const OutputStyle& style);
// The row as one JSON object, keys the column names in their order (the
// caller makes them unique); numbers bare, truth values true and false, texts as
// JSON strings, null as null. Bytes that are not UTF-8 become U+FFFD.
std::string JsonObject(const std::vector<std::string>& columns, const std::vector<CellValue>& row);
