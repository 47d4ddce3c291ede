#pragma once
#include <string>

#include "Options.h"
#include "ResultGrid.h"

// The grid as an aligned table: a header line, a line of dashes and one
// line per row, columns two blanks apart, widths in characters. Line
// breaks and tabs inside values are shown as \n, \r and \t. Nothing at all
// for a grid without columns.
std::string FormatTable(const ResultGrid& grid);
// The grid as CSV: a header line, then one line per row; a field holding a
// comma, a double quote or a line break is quoted, quotes doubled. Null
// is an empty field.
std::string FormatCsv(const ResultGrid& grid);
// One JSON object per row and line, keys the column names; numbers bare,
// texts as JSON strings, null as null. Bytes that are not UTF-8 become
// U+FFFD.
std::string FormatJsonLines(const ResultGrid& grid);
// The grid in the format.
std::string FormatGrid(const ResultGrid& grid, OutputFormat format);
