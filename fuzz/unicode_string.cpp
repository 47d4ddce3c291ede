// NUVUnicodeString beside std::string: four strings, each with a model,
// take random operations, copies of one another among them so that shared
// buffers, inline texts and aliasing arguments all come up; after every
// operation each string must hold what its model holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstring>

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
  int count = 0;
  for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + by.size())) {
    text.replace(at, name.size(), by);
    ++count;
  }
  return count;
}

size_t Characters(const std::string& text) {
  return static_cast<size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::array<NUVUnicodeString, kStrings> strings;
  std::array<std::string, kStrings> models;
  const auto pick = [&in] { return in.ConsumeIntegralInRange<size_t>(0, kStrings - 1); };
  while (in.remaining_bytes() > 0) {
    const size_t i = pick();
    const size_t j = pick();
    NUVUnicodeString& s = strings[i];
    std::string& m = models[i];
    switch (in.ConsumeIntegralInRange(0, 5)) {
      case 0: {  // a text of any bytes, or as a C string up to its first zero byte
        const std::string text = in.ConsumeRandomLengthString(40);
        const bool asCString = in.ConsumeBool();
        s = asCString ? NUVUnicodeString(text.c_str()) : NUVUnicodeString(std::string_view(text));
        m = asCString ? text.c_str() : text;
        break;
      }
      case 1: {  // a C string, another string or the string itself appended
        const std::string text = in.ConsumeRandomLengthString(40);
        const bool fresh = in.ConsumeBool();
        const std::string added = fresh ? std::string(text.c_str()) : models[j];
        if (m.size() + added.size() > kLongest) break;
        if (fresh) {
          s += text.c_str();
        } else {
          s += strings[j];
        }
        m += added;
        break;
      }
      case 2:
        if (in.ConsumeBool()) {
          s = strings[j];
        } else {
          NUVUnicodeString moved(strings[j]);
          s = std::move(moved);
        }
        m = models[j];
        break;
      case 3: {  // name and replacement from the strings (aliases included) or fresh
        const bool fresh = in.ConsumeBool();
        const NUVUnicodeString freshName(std::string_view(in.ConsumeRandomLengthString(4)));
        const NUVUnicodeString freshBy(std::string_view(in.ConsumeRandomLengthString(8)));
        const NUVUnicodeString& name = fresh ? freshName : strings[j];
        const NUVUnicodeString& by = fresh ? freshBy : strings[pick()];
        std::string replaced = m;
        const int count = ReplaceAll(replaced, std::string(name.View()), std::string(by.View()));
        if (replaced.size() > kLongest) break;
        FUZZ_CHECK(s.ReplaceSubString(name, by) == count);
        m = replaced;
        break;
      }
      case 4: {  // ASCII characters only: runs removed at the start (1), the end (2) or both (3)
        const int mode = in.ConsumeIntegralInRange(0, 4);
        const char c = in.ConsumeIntegralInRange<char>(0x20, 0x7E);
        s.Strip(mode, NUVUnicodeChar(c));
        if (mode == 1 || mode == 3) m.erase(0, std::min(m.find_first_not_of(c), m.size()));
        if (mode == 2 || mode == 3) m.erase(m.find_last_not_of(c) + 1);  // npos + 1 erases all
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
    for (size_t k = 0; k < kStrings; ++k) {
      FUZZ_CHECK(strings[k].View() == models[k] && strings[k].CastToCharPtr()[models[k].size()] == '\0');
      FUZZ_CHECK(strings[k].GetLengthInBytes() == models[k].size());
      FUZZ_CHECK(static_cast<size_t>(strings[k].GetLengthInChar()) == Characters(models[k]));
      FUZZ_CHECK(strings[k].HasNoCharacter() == (Characters(models[k]) == 0));
      FUZZ_CHECK(strings[k] == NUVUnicodeString(std::string_view(models[k])));
    }
  }
  return 0;
}
