// NUVUnicodeString beside std::string: four strings, each with a model,
// take random operations, copies of one another among them so that shared
// buffers, inline texts and aliasing arguments all come up; after every
// operation each string must hold what its model holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "NUVUnicodeString.h"

namespace {

constexpr size_t kStrings = 4;
// Operations that would make a text longer are left out, so that appending
// a string to itself again and again cannot grow it without bound.
constexpr size_t kLongest = 4096;

// Every occurrence of name replaced, left to right and without overlap.
int ReplaceAll(std::string& text, const std::string& name, const std::string& by) {
  if (name.empty()) return 0;
  std::string out;
  int count = 0;
  size_t from = 0;
  for (size_t found = text.find(name); found != std::string::npos; found = text.find(name, from)) {
    out.append(text, from, found - from).append(by);
    from = found + name.size();
    ++count;
  }
  text = out.append(text, from, std::string::npos);
  return count;
}

// Runs of c removed at the start (mode 1), the end (2) or both (3).
void Strip(std::string& text, int mode, char c) {
  if (mode == 1 || mode == 3) {
    const size_t first = text.find_first_not_of(c);
    text.erase(0, first == std::string::npos ? text.size() : first);
  }
  if (mode == 2 || mode == 3) text.erase(text.find_last_not_of(c) + 1);  // npos + 1 erases all
}

size_t Characters(const std::string& text) {
  size_t n = 0;
  for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

void Check(const NUVUnicodeString& string, const std::string& model) {
  FUZZ_CHECK(string.View() == model);
  FUZZ_CHECK(string.GetLengthInBytes() == model.size());
  FUZZ_CHECK(string.CastToCharPtr()[model.size()] == '\0');
  FUZZ_CHECK(std::memcmp(string.CastToCharPtr(), model.data(), model.size()) == 0);
  FUZZ_CHECK(static_cast<size_t>(string.GetLengthInChar()) == Characters(model));
  FUZZ_CHECK(string.HasNoCharacter() == (Characters(model) == 0));
  FUZZ_CHECK(string == NUVUnicodeString(std::string_view(model)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::array<NUVUnicodeString, kStrings> strings;
  std::array<std::string, kStrings> models;
  while (in.remaining_bytes() > 0) {
    const size_t i = in.ConsumeIntegralInRange<size_t>(0, kStrings - 1);
    const size_t j = in.ConsumeIntegralInRange<size_t>(0, kStrings - 1);
    NUVUnicodeString& s = strings[i];
    std::string& m = models[i];
    switch (in.ConsumeIntegralInRange(0, 11)) {
      case 0: {  // a text of any bytes
        const std::string text = in.ConsumeRandomLengthString(40);
        s = NUVUnicodeString(std::string_view(text));
        m = text;
        break;
      }
      case 1: {  // a C string ends at its first zero byte
        const std::string text = in.ConsumeRandomLengthString(40);
        s = text.c_str();
        m = text.c_str();
        break;
      }
      case 2: {
        const std::string text = in.ConsumeRandomLengthString(40);
        if (m.size() + text.size() > kLongest) break;
        s += text.c_str();
        m += text.c_str();
        break;
      }
      case 3:  // another string, or the string itself
        if (m.size() + models[j].size() > kLongest) break;
        s += strings[j];
        m += std::string(models[j]);
        break;
      case 4:
        s = strings[j];
        m = models[j];
        break;
      case 5: {
        NUVUnicodeString moved(strings[j]);
        s = std::move(moved);
        m = models[j];
        break;
      }
      case 6: {  // name and replacement from the strings, aliases included
        const size_t k = in.ConsumeIntegralInRange<size_t>(0, kStrings - 1);
        std::string replaced = m;
        const int count = ReplaceAll(replaced, models[j], models[k]);
        if (replaced.size() > kLongest) break;
        FUZZ_CHECK(s.ReplaceSubString(strings[j], strings[k]) == count);
        m = replaced;
        break;
      }
      case 7: {
        const std::string name = in.ConsumeRandomLengthString(4);
        const std::string by = in.ConsumeRandomLengthString(8);
        std::string replaced = m;
        const int count = ReplaceAll(replaced, name, by);
        if (replaced.size() > kLongest) break;
        FUZZ_CHECK(s.ReplaceSubString(NUVUnicodeString(std::string_view(name)),
                                      NUVUnicodeString(std::string_view(by))) == count);
        m = replaced;
        break;
      }
      case 8: {  // ASCII characters only: one byte each
        const int mode = in.ConsumeIntegralInRange(0, 4);
        const char c = in.ConsumeIntegralInRange<char>(0x20, 0x7E);
        s.Strip(mode, NUVUnicodeChar(c));
        Strip(m, mode, c);
        break;
      }
      case 9: {
        const int value = in.ConsumeIntegral<int>();
        s.BuildFromNum(value);
        m = std::to_string(value);
        break;
      }
      case 10: {
        const double value = in.ConsumeFloatingPoint<double>();
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%g", value);
        s.BuildFromNum(value);
        m = buffer;
        break;
      }
      default: {  // a producer writes fewer bytes than it prepared
        const size_t prepared = in.ConsumeIntegralInRange<size_t>(0, 40);
        const size_t written = in.ConsumeIntegralInRange<size_t>(0, prepared);
        char* out = s.PrepareOverwrite(prepared);
        FUZZ_CHECK(out[prepared] == '\0');
        std::memset(out, 'w', prepared);
        s.FinishOverwrite(written);
        m.assign(written, 'w');
        break;
      }
    }
    for (size_t k = 0; k < kStrings; ++k) Check(strings[k], models[k]);
  }
  return 0;
}
