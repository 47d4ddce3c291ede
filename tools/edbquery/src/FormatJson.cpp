#include <cstdint>
#include <cstdio>

#include "OutputFormats.h"

namespace {

// The length of the valid UTF-8 sequence at the position, or 0 when the
// bytes there are not one (overlong forms and surrogates included).
size_t SequenceLength(const std::string& text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  size_t length = 0;
  uint32_t code = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3Fu);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return overlong || surrogate || code > 0x10FFFF ? 0 : length;
}

void AppendEscaped(std::string& out, char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      break;
  }
  if (static_cast<unsigned char>(c) < 0x20) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
    out += escape;
  } else {
    out += c;
  }
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (size_t at = 0; at < text.size();) {
    const size_t length = SequenceLength(text, at);
    if (length == 0) {
      out += "\\ufffd";
      ++at;
    } else if (length == 1) {
      AppendEscaped(out, text[at++]);
    } else {
      out.append(text, at, length);
      at += length;
    }
  }
  return out + "\"";
}

std::string JsonValue(const CellValue& value) {
  switch (value.kind) {
    case CellValue::Kind::Null:
      return "null";
    case CellValue::Kind::Number:
      return value.text;
    case CellValue::Kind::Boolean:
      return value.text == "0" ? "false" : "true";
    case CellValue::Kind::Text:
      break;
  }
  return JsonString(value.text);
}

}  // namespace

std::string JsonObject(const std::vector<std::string>& columns, const std::vector<CellValue>& row) {
  std::string out = "{";
  for (size_t i = 0; i < row.size() && i < columns.size(); ++i) {
    if (i > 0) out += ',';
    out += JsonString(columns[i]) + ":" + JsonValue(row[i]);
  }
  return out + "}";
}
