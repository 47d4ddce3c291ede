#include "RowPrinter.h"

#include <utility>

std::string RowPrinter::Begin(const std::vector<std::string>& columns) {
  table_.columns = columns;
  if (format_ == OutputFormat::Json) return "[";
  if (format_ == OutputFormat::Csv && style_.header) return FormatCsv({columns, {}}, style_);
  return {};
}

std::string RowPrinter::Rows(std::vector<std::vector<CellValue>> rows) {
  std::string out;
  switch (format_) {
    case OutputFormat::Table:
      for (auto& row : rows) table_.rows.push_back(std::move(row));
      return out;
    case OutputFormat::Csv:
      return FormatCsv({table_.columns, std::move(rows)}, {style_.nullText, false});
    case OutputFormat::Json:
      for (const auto& row : rows) out += (printed_++ > 0 ? ",\n" : "") + JsonObject(table_.columns, row);
      return out;
    case OutputFormat::JsonLines:
      for (const auto& row : rows) out += JsonObject(table_.columns, row) + "\n";
      return out;
  }
  return out;
}

std::string RowPrinter::End() {
  if (format_ == OutputFormat::Json) return "]\n";
  if (format_ == OutputFormat::Table) return FormatTable(table_, style_);
  return {};
}
