#pragma once
#include <cstdint>
#include <cstring>
#include <type_traits>

// A 128-bit interface or class identifier.
struct GUID {
  uint32_t Data1;    // the first group of eight hexadecimal digits
  uint16_t Data2;    // the second group of four
  uint16_t Data3;    // the third group of four
  uint8_t Data4[8];  // the last two groups, as eight bytes
  // Equal when all sixteen bytes are: two eight-byte comparisons at run
  // time, as interface lookups compare identifiers on every call.
  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (std::is_constant_evaluated()) {
      for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) return false;
      }
      return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3;
    }
    uint64_t x[2];
    uint64_t y[2];
    std::memcpy(x, &a, sizeof x);
    std::memcpy(y, &b, sizeof y);
    return ((x[0] ^ y[0]) | (x[1] ^ y[1])) == 0;
  }
};
static_assert(sizeof(GUID) == 16, "an identifier is sixteen bytes without padding");
