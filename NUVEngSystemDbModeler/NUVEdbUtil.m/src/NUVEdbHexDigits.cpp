#include "NUVEdbHexDigits.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define NUV_HEX_AVX2 1
#endif

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The two hexadecimal digits of each byte.
constexpr std::array<std::array<char, 2>, 256> kHexPairs = [] {
  std::array<std::array<char, 2>, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = {kHexDigits[b >> 4], kHexDigits[b & 0x0F]};
  return table;
}();

// The value of each hexadecimal digit; kNotHex for every other byte, a bit
// that survives the shift of a high digit too.
constexpr std::uint16_t kNotHex = 0x100;
constexpr std::array<std::uint16_t, 256> kHexValue = [] {
  std::array<std::uint16_t, 256> table{};
  table.fill(kNotHex);
  for (int i = 0; i < 10; ++i) table['0' + i] = static_cast<std::uint16_t>(i);
  for (int i = 0; i < 6; ++i) {
    table['A' + i] = static_cast<std::uint16_t>(10 + i);
    table['a' + i] = static_cast<std::uint16_t>(10 + i);
  }
  return table;
}();

// The byte of one pair as "%X" reads it: both digits when both are
// hexadecimal, the first alone when only it is, 0 when the pair does not
// begin with a digit.
inline unsigned char PairValue(unsigned char high, unsigned char low) {
  const unsigned int first = kHexValue[high];
  const unsigned int second = kHexValue[low];
  if (first & kNotHex) return 0;
  if (second & kNotHex) return static_cast<unsigned char>(first);
  return static_cast<unsigned char>(first << 4 | second);
}

// Reads the pairs one by one.
bool DecodePairsOneByOne(const char* in, size_t n, unsigned char* out) {
  bool ascii = true;
  for (size_t i = 0; i < n; ++i) {
    const auto high = static_cast<unsigned char>(in[2 * i]);
    const auto low = static_cast<unsigned char>(in[2 * i + 1]);
    ascii = ascii && high < 0x80 && low < 0x80;
    out[i] = PairValue(high, low);
  }
  return ascii;
}

#if defined(__SSE2__)
// The digit chars of sixteen nibbles (each byte 0 to 15).
inline __m128i DigitsOf(__m128i nibbles) {
  const __m128i letters =
      _mm_and_si128(_mm_cmpgt_epi8(nibbles, _mm_set1_epi8(9)), _mm_set1_epi8('A' - '0' - 10));
  return _mm_add_epi8(_mm_add_epi8(nibbles, _mm_set1_epi8('0')), letters);
}

// Eight bytes, one in the low half of each 16-bit lane, from sixteen chars,
// right when both chars of a lane are hexadecimal digits; `hex` marks the
// chars that are.
inline __m128i PairValues(__m128i chars, __m128i& hex) {
  // Biased so that the wanted range starts at -128: one signed compare each.
  const __m128i lower = _mm_or_si128(chars, _mm_set1_epi8(0x20));
  const __m128i isDigit = _mm_cmplt_epi8(_mm_add_epi8(chars, _mm_set1_epi8(static_cast<char>(0x80 - '0'))),
                                         _mm_set1_epi8(-128 + 10));
  const __m128i isLetter = _mm_cmplt_epi8(_mm_add_epi8(lower, _mm_set1_epi8(static_cast<char>(0x80 - 'a'))),
                                          _mm_set1_epi8(-128 + 6));
  // A digit's value is its low four bits, a letter's those plus nine.
  const __m128i values =
      _mm_add_epi8(_mm_and_si128(chars, _mm_set1_epi8(0x0F)), _mm_and_si128(isLetter, _mm_set1_epi8(9)));
  // Little-endian lanes: the high digit is the lane's low byte.
  const __m128i joined = _mm_or_si128(_mm_slli_epi16(values, 4), _mm_srli_epi16(values, 8));
  hex = _mm_or_si128(isDigit, isLetter);
  return _mm_and_si128(joined, _mm_set1_epi16(0x00FF));
}

// Sixteen bytes from thirty-two chars; false, with nothing written, unless
// every char is a hexadecimal digit (and so plain ASCII).
inline bool BytesOf(const char* in, unsigned char* out) {
  __m128i firstHex;
  __m128i secondHex;
  const __m128i first = PairValues(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), firstHex);
  const __m128i second = PairValues(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16)), secondHex);
  if (_mm_movemask_epi8(_mm_and_si128(firstHex, secondHex)) != 0xFFFF) return false;
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(first, second));
  return true;
}
#endif

#if defined(NUV_HEX_AVX2)
// The same reading as PairValues, thirty-two chars at a time, for
// processors that have AVX2 (asked once, at run time). A valid lane's
// value fits its low byte, so no mask is needed before packing.
__attribute__((target("avx2"))) inline __m256i PairValues256(__m256i chars, __m256i& hex) {
  const __m256i lower = _mm256_or_si256(chars, _mm256_set1_epi8(0x20));
  const __m256i isDigit = _mm256_cmpgt_epi8(
      _mm256_set1_epi8(-128 + 10), _mm256_add_epi8(chars, _mm256_set1_epi8(static_cast<char>(0x80 - '0'))));
  const __m256i isLetter = _mm256_cmpgt_epi8(
      _mm256_set1_epi8(-128 + 6), _mm256_add_epi8(lower, _mm256_set1_epi8(static_cast<char>(0x80 - 'a'))));
  const __m256i values = _mm256_add_epi8(_mm256_and_si256(chars, _mm256_set1_epi8(0x0F)),
                                         _mm256_and_si256(isLetter, _mm256_set1_epi8(9)));
  hex = _mm256_or_si256(isDigit, isLetter);
  // Each lane: sixteen times its low byte (the high digit) plus its high byte.
  return _mm256_maddubs_epi16(values, _mm256_set1_epi16(0x0110));
}

// Decodes the pairs thirty-two at a time, a block holding any char that is
// not a digit pair by pair; answers how many it did and clears `ascii` when
// a char read was not plain ASCII.
__attribute__((target("avx2"))) size_t DecodeHexPairsAvx2(const char* in, size_t n, unsigned char* out,
                                                          bool& ascii) {
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i firstHex;
    __m256i secondHex;
    const __m256i first =
        PairValues256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * i)), firstHex);
    const __m256i second =
        PairValues256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * i + 32)), secondHex);
    if (_mm256_movemask_epi8(_mm256_and_si256(firstHex, secondHex)) != -1) {
      ascii = DecodePairsOneByOne(in + 2 * i, 32, out + i) && ascii;
      continue;
    }
    // Packing works within each 128-bit half; the permutation restores the order.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_permute4x64_epi64(_mm256_packus_epi16(first, second), 0xD8));
  }
  return i;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

}  // namespace

namespace nuvedb {

void EncodeHexPairs(const unsigned char* in, size_t n, char* out) {
  size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i high = DigitsOf(_mm_and_si128(_mm_srli_epi16(bytes, 4), _mm_set1_epi8(0x0F)));
    const __m128i low = DigitsOf(_mm_and_si128(bytes, _mm_set1_epi8(0x0F)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_unpacklo_epi8(high, low));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i + 16), _mm_unpackhi_epi8(high, low));
  }
#endif
  for (; i < n; ++i) std::memcpy(out + 2 * i, kHexPairs[in[i]].data(), 2);
}

bool DecodeHexPairs(const char* in, size_t n, unsigned char* out) {
  size_t i = 0;
  bool ascii = true;
#if defined(NUV_HEX_AVX2)
  if (HasAvx2()) i = DecodeHexPairsAvx2(in, n, out, ascii);
#endif
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) {
    if (!BytesOf(in + 2 * i, out + i)) ascii = DecodePairsOneByOne(in + 2 * i, 16, out + i) && ascii;
  }
#endif
  return DecodePairsOneByOne(in + 2 * i, n - i, out + i) && ascii;
}

}  // namespace nuvedb
