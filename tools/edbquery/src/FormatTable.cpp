#include <algorithm>

#include "OutputFormats.h"
#include "TextParsing.h"

namespace {

// The number of characters: every byte but UTF-8 continuation bytes.
size_t Width(const std::string& text) {
  return static_cast<size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void AppendLine(std::string& out, const std::vector<std::string>& fields, const std::vector<size_t>& widths) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += "  ";
    line += fields[i];
    if (i + 1 < fields.size()) line.append(widths[i] - Width(fields[i]), ' ');
  }
  line.erase(line.find_last_not_of(' ') + 1);
  out += line + "\n";
}

}  // namespace

std::string FormatTable(const ResultGrid& grid, const OutputStyle& style, std::vector<size_t>& widths,
                        bool first) {
  if (grid.columns.empty()) return {};
  widths.resize(grid.columns.size(), 0);
  std::vector<std::vector<std::string>> lines;
  if (style.header) {
    std::vector<std::string> names;
    names.reserve(grid.columns.size());
    for (const std::string& name : grid.columns) names.push_back(OneLine(name));
    lines.push_back(std::move(names));
  }
  for (const auto& row : grid.rows) {
    std::vector<std::string> fields;
    fields.reserve(row.size());
    for (const CellValue& value : row)
      fields.push_back(OneLine(value.kind == CellValue::Kind::Null ? style.nullText : value.text));
    lines.push_back(std::move(fields));
  }
  for (const auto& fields : lines) {
    for (size_t i = 0; i < fields.size() && i < widths.size(); ++i)
      widths[i] = std::max(widths[i], Width(fields[i]));
  }
  std::string out;
  const auto rows = lines.begin() + (style.header ? 1 : 0);
  if (first && style.header) {
    AppendLine(out, lines.front(), widths);
    std::vector<std::string> dashes;
    dashes.reserve(widths.size());
    for (const size_t width : widths) dashes.emplace_back(width, '-');
    AppendLine(out, dashes, widths);
  }
  for (auto fields = rows; fields != lines.end(); ++fields) AppendLine(out, *fields, widths);
  return out;
}
