#include "NUVEdsGeneralTool.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

// The escape of each char that stands escaped in encoded text, else null.
constexpr const char* EscapeFor(char c) {
  switch (c) {
    case ' ': return "%20";
    case '\'': return "%27";
    case '%': return "%25";
    case '\0': return "%00";
    default: return nullptr;
  }
}

// The char an escape at `at` stands for, or -1 when the three bytes are none.
int Unescape(std::string_view text, size_t at) {
  if (at + 3 > text.size() || text[at] != '%') return -1;
  const char first = text[at + 1];
  const char second = text[at + 2];
  if (first == '0') return second == '0' ? '\0' : -1;
  if (first != '2') return -1;
  switch (second) {
    case '0':
      return ' ';
    case '7':
      return '\'';
    case '5':
      return '%';
    default:
      return -1;
  }
}

// 1 for each char that stands escaped in encoded text.
constexpr std::array<unsigned char, 256> kEscaped = [] {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = EscapeFor(static_cast<char>(c)) != nullptr;
  return table;
}();

size_t CountEscaped(std::string_view in) {
  size_t count = 0;
  for (char c : in) count += kEscaped[static_cast<unsigned char>(c)];
  return count;
}

}  // namespace

NUVUnicodeString NUVEdsGeneralTool::EncodeBlanks(const NUVUnicodeString& text) const {
  const std::string_view in = text.View();
  const size_t escaped = CountEscaped(in);
  if (escaped == 0) return text;
  NUVUnicodeString encoded;
  char* out = encoded.PrepareOverwrite(in.size() + 2 * escaped);
  for (char c : in) {
    if (const char* escape = EscapeFor(c)) {
      std::memcpy(out, escape, 3);
      out += 3;
    } else {
      *out++ = c;
    }
  }
  return encoded;
}

bool NUVEdsGeneralTool::IsEncodedForm(const NUVUnicodeString& text) const {
  const std::string_view in = text.View();
  for (size_t at = 0; at < in.size(); ++at) {
    if (!kEscaped[static_cast<unsigned char>(in[at])]) continue;
    if (Unescape(in, at) < 0) return false;
    at += 2;
  }
  return true;
}

NUVUnicodeString NUVEdsGeneralTool::DecodeBlanks(const NUVUnicodeString& text) const {
  const std::string_view in = text.View();
  const size_t first = in.find('%');
  if (first == std::string_view::npos) return text;
  // Decoded text is never longer. Every '%' must begin an escape; otherwise
  // the text is not encoded and stays as it is.
  NUVUnicodeString decoded;
  char* const out = decoded.PrepareOverwrite(in.size());
  std::memcpy(out, in.data(), first);
  size_t written = first;
  for (size_t at = first; at < in.size();) {
    if (in[at] != '%') {
      out[written++] = in[at++];
      continue;
    }
    const int c = Unescape(in, at);
    if (c < 0) return text;
    out[written++] = static_cast<char>(c);
    at += 3;
  }
  decoded.FinishOverwrite(written);
  return decoded;
}
