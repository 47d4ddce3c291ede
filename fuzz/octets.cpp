// The octet-sequence conversions: bytes written as hexadecimal text read
// back to the same bytes, and any text reads back without harm, giving one
// byte per pair of characters, each pair of ASCII text as "%X" reads it
// when it begins with a digit and 0 otherwise.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "FuzzCheck.h"
#include "NUVEdbGeneralTool.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  NUVEdbGeneralTool tool;
  _SEQUENCE_SEQUENCE_octet bytes;
  bytes.length(size);
  if (size > 0) std::memcpy(bytes.data(), data, size);
  const NUVUnicodeString hex = tool.SequenceToUnicode(bytes);
  FUZZ_CHECK(hex.GetLengthInBytes() == 2 * size);
  const _SEQUENCE_SEQUENCE_octet back = tool.UnicodeToSequence(hex);
  FUZZ_CHECK(back.length() == size && (size == 0 || std::memcmp(back.data(), data, size) == 0));

  const std::string_view chars = FuzzText(data, size);
  const _SEQUENCE_SEQUENCE_octet read = tool.UnicodeToSequence(NUVUnicodeString(chars));
  FUZZ_CHECK(read.length() <= size / 2);
  if (!std::all_of(chars.begin(), chars.end(), [](char c) { return c > 0; })) return 0;
  FUZZ_CHECK(read.length() == size / 2);
  for (size_t i = 0; i < read.length(); ++i) {
    const std::string pair(chars.substr(2 * i, 2));
    unsigned int value = 0;
    if (std::isxdigit(static_cast<unsigned char>(pair[0])) != 0) std::sscanf(pair.c_str(), "%X", &value);
    FUZZ_CHECK(read[i] == (value & 0xFFU));
  }
  return 0;
}
