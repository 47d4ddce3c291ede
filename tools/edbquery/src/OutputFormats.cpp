#include "OutputFormats.h"

std::string FormatGrid(const ResultGrid& grid, OutputFormat format) {
  switch (format) {
    case OutputFormat::Csv:
      return FormatCsv(grid);
    case OutputFormat::JsonLines:
      return FormatJsonLines(grid);
    case OutputFormat::Table:
      break;
  }
  return FormatTable(grid);
}
