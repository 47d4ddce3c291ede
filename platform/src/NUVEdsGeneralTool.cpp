#include "NUVEdsGeneralTool.h"

#include <string>

namespace {

const char* EscapeFor(char c) {
  switch (c) {
    case ' ': return "%20";
    case '\'': return "%27";
    case '%': return "%25";
    case '\0': return "%00";
    default: return nullptr;
  }
}

// The character an escape stands for, or -1 when the three bytes are none.
int Unescape(std::string_view text, size_t at) {
  if (at + 3 > text.size()) return -1;
  const std::string_view code = text.substr(at, 3);
  if (code == "%20") return ' ';
  if (code == "%27") return '\'';
  if (code == "%25") return '%';
  if (code == "%00") return '\0';
  return -1;
}

}  // namespace

NUVUnicodeString NUVEdsGeneralTool::EncodeBlanks(const NUVUnicodeString& text) const {
  const std::string_view in = text.View();
  if (in.find_first_of(std::string_view(" '%\0", 4)) == std::string_view::npos) return text;
  std::string out;
  out.reserve(in.size() + 8);
  for (char c : in) {
    if (const char* escape = EscapeFor(c)) {
      out += escape;
    } else {
      out += c;
    }
  }
  return NUVUnicodeString(std::string_view(out));
}

NUVUnicodeString NUVEdsGeneralTool::DecodeBlanks(const NUVUnicodeString& text) const {
  const std::string_view in = text.View();
  if (in.find('%') == std::string_view::npos) return text;
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '%') {
      out += in[i];
      continue;
    }
    const int c = Unescape(in, i);
    if (c < 0) return text;  // not a valid encoding
    out += static_cast<char>(c);
    i += 2;
  }
  return NUVUnicodeString(std::string_view(out));
}
