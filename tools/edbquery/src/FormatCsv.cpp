#include <algorithm>

#include "OutputFormats.h"

namespace {

bool NeedsQuotes(char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; }

// Appends the field, quoted when it holds a comma, a quote or a line break.
void AppendField(std::string& out, const std::string& text) {
  if (std::none_of(text.begin(), text.end(), NeedsQuotes)) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string FormatCsv(const ResultGrid& grid, const OutputStyle& style) {
  if (grid.columns.empty()) return {};
  std::string out;
  const auto line = [&out](const auto& fields, const auto& text) {
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) out += ',';
      AppendField(out, text(fields[i]));
    }
    out += '\n';
  };
  if (style.header) line(grid.columns, [](const std::string& name) -> const std::string& { return name; });
  for (const auto& row : grid.rows) {
    line(row, [&style](const CellValue& value) -> const std::string& {
      return value.kind == CellValue::Kind::Null ? style.nullText : value.text;
    });
  }
  return out;
}
