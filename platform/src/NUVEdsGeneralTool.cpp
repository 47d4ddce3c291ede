#include "NUVEdsGeneralTool.h"

#include <array>
#include <cstring>
#include <functional>
#include <string_view>
#include <utility>

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

#if defined(__SSE2__)
// Bit i set when char at + i of the text stands escaped in encoded text
// (only '%' with kPercentOnly); the sixteen chars from at on, which the
// text must hold.
template <bool kPercentOnly>
unsigned MarkedIn16(std::string_view in, size_t at) {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in.data() + at));
  const __m128i percents = _mm_cmpeq_epi8(block, _mm_set1_epi8('%'));
  if (kPercentOnly) return static_cast<unsigned>(_mm_movemask_epi8(percents));
  const __m128i blanks =
      _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(block, _mm_set1_epi8('\'')));
  const __m128i others = _mm_or_si128(percents, _mm_cmpeq_epi8(block, _mm_setzero_si128()));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(blanks, others)));
}
#endif

// Calls visit(at) for each char of the text that stands escaped in encoded
// text (each '%' with kPercentOnly), in order, while visit answers true;
// false when a visit answered false. Sixteen chars are looked at a time
// where the text holds them.
template <bool kPercentOnly, class Visit>
[[gnu::always_inline]] inline bool ForEachMarked(std::string_view in, Visit&& visit) {
  size_t at = 0;
#if defined(__SSE2__)
  const auto marked = [&](size_t from, unsigned found) __attribute__((always_inline)) {
    for (; found != 0; found &= found - 1) {
      if (!visit(from + static_cast<size_t>(__builtin_ctz(found)))) return false;
    }
    return true;
  };
  if (in.size() >= 16) {
    for (; at + 16 <= in.size(); at += 16) {
      if (!marked(at, MarkedIn16<kPercentOnly>(in, at))) return false;
    }
    // The last chars: the last sixteen, less those already looked at.
    const size_t last = in.size() - 16;
    return at == in.size() || marked(at, MarkedIn16<kPercentOnly>(in, last) >> (at - last));
  }
#endif
  for (; at < in.size(); ++at) {
    const bool isMarked = kPercentOnly ? in[at] == '%' : kEscaped[static_cast<unsigned char>(in[at])] != 0;
    if (isMarked && !visit(at)) return false;
  }
  return true;
}

// Copies n bytes; the short runs between escapes with two overlapping
// fixed-size moves each, which compile to plain loads and stores, instead
// of a call.
[[gnu::always_inline]] inline void CopyRun(char* out, const char* in, size_t n) {
  if (n >= 8) {
    if (n > 16) {
      std::memcpy(out, in, n);
      return;
    }
    std::memcpy(out, in, 8);
    std::memcpy(out + n - 8, in + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(out, in, 4);
    std::memcpy(out + n - 4, in + n - 4, 4);
  } else if (n >= 2) {
    std::memcpy(out, in, 2);
    std::memcpy(out + n - 2, in + n - 2, 2);
  } else if (n == 1) {
    *out = *in;
  }
}

template <class Visit>
[[gnu::always_inline]] inline bool ForEachEscaped(std::string_view in, Visit&& visit) {
  return ForEachMarked<false>(in, std::forward<Visit>(visit));
}

// The number of chars of the text that stand escaped in the encoded form.
size_t EscapedCount(std::string_view in) {
  size_t escaped = 0;
  ForEachEscaped(
      in, [&](size_t) __attribute__((always_inline)) { return ++escaped, true; });
  return escaped;
}

// True when part lies within the text of the string.
bool LiesIn(std::string_view part, const NUVUnicodeString& string) {
  const std::string_view text = string.View();
  return !part.empty() && std::less_equal<>()(text.data(), part.data()) &&
         std::less<>()(part.data(), text.data() + text.size());
}

// Writes the encoded form of the text, which holds `escaped` chars that
// stand escaped, into encoded; the text does not lie inside encoded. The
// runs between escaped chars are copied whole.
void EncodeInto(std::string_view in, size_t escaped, NUVUnicodeString& encoded) {
  char* out = encoded.PrepareOverwrite(in.size() + 2 * escaped);
  size_t from = 0;
  ForEachEscaped(
      in, [&](size_t at) __attribute__((always_inline)) {
        CopyRun(out, in.data() + from, at - from);
        out += at - from;
        std::memcpy(out, EscapeFor(in[at]), 3);
        out += 3;
        from = at + 1;
        return true;
      });
  CopyRun(out, in.data() + from, in.size() - from);
}

}  // namespace

NUVUnicodeString NUVEdsGeneralTool::EncodeBlanks(const NUVUnicodeString& text) const {
  const size_t escaped = EscapedCount(text.View());
  if (escaped == 0) return text;  // shares the text's buffer
  NUVUnicodeString encoded;
  EncodeInto(text.View(), escaped, encoded);
  return encoded;
}

void NUVEdsGeneralTool::EncodeBlanks(std::string_view in, NUVUnicodeString& encoded) const {
  if (LiesIn(in, encoded)) {  // the text would be overwritten while it is read
    encoded = EncodeBlanks(NUVUnicodeString(in));
    return;
  }
  EncodeInto(in, EscapedCount(in), encoded);
}

bool NUVEdsGeneralTool::IsEncodedForm(std::string_view in) const {
  // Text is in encoded form when every char that stands escaped is a '%'
  // that begins an escape. The two chars after a '%' are digits, which
  // never stand escaped, so each such char can be checked on its own.
  return ForEachEscaped(
      in, [&](size_t at) __attribute__((always_inline)) { return Unescape(in, at) >= 0; });
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
  // the text is not encoded and stays as it is. The runs between escapes
  // are copied whole; the two chars after a '%' are digits, so no '%'
  // stands inside an escape that decoded.
  char* const out = decoded.PrepareOverwrite(in.size());
  size_t written = 0;
  size_t from = 0;
  const bool decodes = ForEachMarked<true>(
      in, [&](size_t at) __attribute__((always_inline)) {
        const int c = Unescape(in, at);
        if (c < 0) return false;
        CopyRun(out + written, in.data() + from, at - from);
        written += at - from;
        out[written++] = static_cast<char>(c);
        from = at + 3;
        return true;
      });
  if (!decodes) {
    decoded = text;
    return;
  }
  CopyRun(out + written, in.data() + from, in.size() - from);
  decoded.FinishOverwrite(written + in.size() - from);
}
