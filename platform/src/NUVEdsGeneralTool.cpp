#include "NUVEdsGeneralTool.h"

#include <array>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The escape of each char that stands escaped in encoded text, else null.
constexpr const char* EscapeFor(char c) {
  switch (c) {
    case ' ':
      return "%20";
    case '\'':
      return "%27";
    case '%':
      return "%25";
    case '\0':
      return "%00";
    default:
      return nullptr;
  }
}

// The char an escape at `at` stands for, or -1 when the three bytes are none.
[[gnu::always_inline]] inline int Unescape(std::string_view text, size_t at) {
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

#if defined(__SSE2__)
// Bit i set when char at + i of the text stands escaped in encoded text;
// the sixteen chars from at on, which the text must hold.
unsigned EscapedIn16(std::string_view in, size_t at) {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in.data() + at));
  const __m128i blanks =
      _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(block, _mm_set1_epi8('\'')));
  const __m128i others =
      _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('%')), _mm_cmpeq_epi8(block, _mm_setzero_si128()));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(blanks, others)));
}
#endif

// True when each char marked in found (bit i: char at + i) begins an escape.
[[gnu::always_inline]] inline bool EscapesAt(std::string_view in, size_t at, unsigned found) {
  for (; found != 0; found &= found - 1) {
    if (Unescape(in, at + static_cast<size_t>(__builtin_ctz(found))) < 0) return false;
  }
  return true;
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
  // Text is in encoded form when every char that stands escaped is a '%'
  // that begins an escape. The two chars after a '%' are digits, which
  // never stand escaped, so each such char can be checked on its own.
  const std::string_view in = text.View();
  size_t at = 0;
#if defined(__SSE2__)
  if (in.size() >= 16) {
    for (; at + 16 <= in.size(); at += 16) {
      if (!EscapesAt(in, at, EscapedIn16(in, at))) return false;
    }
    // The last chars: the last sixteen, less those already checked.
    const size_t last = in.size() - 16;
    return at == in.size() || EscapesAt(in, at, EscapedIn16(in, last) >> (at - last));
  }
#endif
  for (; at < in.size(); ++at) {
    if (kEscaped[static_cast<unsigned char>(in[at])] && Unescape(in, at) < 0) return false;
  }
  return true;
}

NUVUnicodeString NUVEdsGeneralTool::DecodeBlanks(const NUVUnicodeString& text) const {
  NUVUnicodeString decoded;
  DecodeBlanks(text, decoded);
  return decoded;
}

void NUVEdsGeneralTool::DecodeBlanks(const NUVUnicodeString& text, NUVUnicodeString& decoded) const {
  const std::string_view in = text.View();
  const size_t first = in.find('%');
  if (first == std::string_view::npos) {
    decoded = text;
    return;
  }
  if (&decoded == &text) {  // the text would be overwritten while it is read
    decoded = DecodeBlanks(text);
    return;
  }
  // Decoded text is never longer. Every '%' must begin an escape; otherwise
  // the text is not encoded and stays as it is.
  char* const out = decoded.PrepareOverwrite(in.size());
  std::memcpy(out, in.data(), first);
  size_t written = first;
  for (size_t at = first; at < in.size();) {
    if (in[at] != '%') {
      out[written++] = in[at++];
      continue;
    }
    const int c = Unescape(in, at);
    if (c < 0) {
      decoded = text;
      return;
    }
    out[written++] = static_cast<char>(c);
    at += 3;
  }
  decoded.FinishOverwrite(written);
}
