#include "RowPrinter.h"

#include <set>
#include <utility>

namespace {

// The names made unique, as JSON keys must be: a repeated name gets ":1",
// ":2"... (the next that no column has), its first use keeping it as it is.
std::vector<std::string> UniqueKeys(const std::vector<std::string>& columns) {
  std::set<std::string> taken(columns.begin(), columns.end());
  std::set<std::string> used;
  std::vector<std::string> keys;
  keys.reserve(columns.size());
  for (const std::string& name : columns) {
    std::string key = name;
    for (int n = 1; used.count(key); ++n) {
      key = name + ":" + std::to_string(n);
      if (taken.count(key)) key = name;
    }
    used.insert(key);
    keys.push_back(std::move(key));
  }
  return keys;
}

}  // namespace

std::string RowPrinter::Begin(const std::vector<std::string>& columns) {
  const bool json = format_ == OutputFormat::Json || format_ == OutputFormat::JsonLines;
  columns_ = json ? UniqueKeys(columns) : columns;
  if (format_ == OutputFormat::Json) return "[";
  if (format_ == OutputFormat::Csv && style_.header) return FormatCsv({columns, {}}, style_);
  return {};
}

std::string RowPrinter::Rows(std::vector<std::vector<CellValue>> rows) {
  std::string out;
  switch (format_) {
    case OutputFormat::Table:
      return FormatTable({columns_, std::move(rows)}, style_, widths_, printed_++ == 0);
    case OutputFormat::Csv:
      return FormatCsv({columns_, std::move(rows)}, {style_.nullText, false});
    case OutputFormat::Json:
      for (const auto& row : rows) out += (printed_++ > 0 ? ",\n" : "") + JsonObject(columns_, row);
      return out;
    case OutputFormat::JsonLines:
      for (const auto& row : rows) out += JsonObject(columns_, row) + "\n";
      return out;
  }
  return out;
}

std::string RowPrinter::End() {
  if (format_ == OutputFormat::Json) return "]\n";
  // An answer without rows still shows its header.
  if (format_ == OutputFormat::Table && printed_ == 0)
    return FormatTable({columns_, {}}, style_, widths_, true);
  return {};
}
