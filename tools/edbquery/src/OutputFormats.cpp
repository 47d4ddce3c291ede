#include "OutputFormats.h"

std::string FormatGrid(const ResultGrid& grid, OutputFormat format, const OutputStyle& style) {
  switch (format) {
    case OutputFormat::Csv:
      return FormatCsv(grid, style);
    case OutputFormat::Json:
      return FormatJson(grid);
    case OutputFormat::JsonLines:
      return FormatJsonLines(grid);
    case OutputFormat::Table:
      break;
  }
  return FormatTable(grid, style);
}
