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
  table_.columns = json ? UniqueKeys(columns) : columns;
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
