#include "OutputFormats.h"

namespace {

std::string Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void AppendLine(std::string& out, const std::vector<std::string>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    out += Field(fields[i]);
  }
  out += '\n';
}

}  // namespace

std::string FormatCsv(const ResultGrid& grid, const OutputStyle& style) {
  if (grid.columns.empty()) return {};
  std::string out;
  if (style.header) AppendLine(out, grid.columns);
  std::vector<std::string> fields;
  for (const auto& row : grid.rows) {
    fields.clear();
    for (const CellValue& value : row)
      fields.push_back(value.kind == CellValue::Kind::Null ? style.nullText : value.text);
    AppendLine(out, fields);
  }
  return out;
}
