#pragma once
// Hexadecimal text of octets and back, sixteen bytes at a time where the
// processor offers it.
#include <cstddef>

namespace nuvedb {

// Writes the two upper-case digits of each of the n bytes: 2 * n chars.
void EncodeHexPairs(const unsigned char* in, size_t n, char* out);

// Writes the byte of each of the n digit pairs (2 * n chars; upper or lower
// case), 0 for a pair holding anything but two hexadecimal digits. Answers
// whether every char read was plain ASCII.
bool DecodeHexPairs(const char* in, size_t n, unsigned char* out);

}  // namespace nuvedb
