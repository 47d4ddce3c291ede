#include "NUVUnicodeString.h"

#include <locale.h>

#include <charconv>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>

#include "NUVInternalError.h"
#include "NUVObjectPool.h"

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The UTF-8 form of a code point.
std::string Utf8(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

// Checks that the format holds exactly one conversion among the allowed
// ones (with flags, width and precision) besides "%%".
bool IsSingleConversion(const char* format, const char* allowed) {
  if (!format) return false;
  int conversions = 0;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ #0", *p)) ++p;
    while (*p >= '0' && *p <= '9') ++p;
    if (*p == '.') {
      ++p;
      while (*p >= '0' && *p <= '9') ++p;
    }
    if (!*p || !std::strchr(allowed, *p)) return false;
    ++conversions;
  }
  return conversions == 1;
}

[[noreturn]] void RaiseBadFormat(const char* format) {
  auto* error = new NUVInternalError(1, "BadNumberFormat", "NUVPlatform");
  error->SetMessageText(format ? format : "(null)");
  NUVRaise(error, __FILE__, __LINE__);
}

// Formats in the C locale whatever the process locale is.
template <class T>
std::string FormatInCLocale(const char* format, T value) {
  static locale_t const cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  locale_t previous = uselocale(cLocale);
  char buffer[512];
  const int length = std::snprintf(buffer, sizeof buffer, format, value);  // NOLINT: format checked
  uselocale(previous);
  if (length < 0) return {};
  return std::string(
      buffer, static_cast<size_t>(length) < sizeof buffer ? static_cast<size_t>(length) : sizeof buffer - 1);
}

}  // namespace

bool NUVUnicodeString::HoldsInvariants() const noexcept {
  if (!IsShared()) return Tag() <= kInlineCapacity && inline_[kInlineCapacity - Tag()] == '\0';
  const Rep* rep = SharedRep();
  return rep && rep->refs.Load() >= 1 && rep->capacity > kInlineCapacity && rep->size <= rep->capacity &&
         SharedRep()->Text()[rep->size] == '\0';
}

NUVUnicodeString& NUVUnicodeString::operator=(const char* utf8) {
  Assign(utf8 ? std::string_view(utf8) : std::string_view());
  return *this;
}

char* NUVUnicodeString::Reserve(size_t bytes, size_t capacity) {
  if (capacity <= kInlineCapacity) {
    ReleaseShared();
    SetInlineLength(bytes);
    return inline_;
  }
  if (capacity > SIZE_MAX / 2) throw std::length_error("NUVUnicodeString: text too long");
  void* block = NUVObjectPool::Allocate(sizeof(Rep) + capacity + 1);
  if (!block) throw std::bad_alloc();
  auto* rep = new (block) Rep;
  rep->size = bytes;
  rep->capacity = capacity;
  rep->Text()[bytes] = '\0';
  ReleaseShared();
  SetShared(rep);
  NUV_DEBUG_ASSERT(HoldsInvariants() && OwnsTextAlone());
  return rep->Text();
}

void NUVUnicodeString::Assign(std::string_view utf8) {
  NUVUnicodeString fresh(utf8);
  *this = std::move(fresh);
  NUV_DEBUG_ASSERT(HoldsInvariants() && OwnsTextAlone());
}

NUVUnicodeString& NUVUnicodeString::Append(std::string_view utf8) {
  const size_t old = GetLengthInBytes();
  const size_t total = old + utf8.size();
  if (utf8.empty()) return *this;
  if (Rep* rep = SoleRepWithRoom(total)) {
    std::memmove(rep->Text() + old, utf8.data(), utf8.size());
    rep->size = total;
    rep->Text()[total] = '\0';
    NUV_DEBUG_ASSERT(HoldsInvariants() && GetLengthInBytes() == total);
    return *this;
  }
  if (!IsShared() && total <= kInlineCapacity) {
    std::memmove(inline_ + old, utf8.data(), utf8.size());
    SetInlineLength(total);
    NUV_DEBUG_ASSERT(HoldsInvariants() && GetLengthInBytes() == total);
    return *this;
  }
  // Grows to at least twice the old length, so that appending stays linear.
  NUVUnicodeString grown;
  char* out = grown.Reserve(total, total > 2 * old ? total : 2 * old);
  std::memcpy(out, CastToCharPtr(), old);
  std::memcpy(out + old, utf8.data(), utf8.size());
  *this = std::move(grown);
  NUV_DEBUG_ASSERT(HoldsInvariants() && OwnsTextAlone() && GetLengthInBytes() == total);
  return *this;
}

void NUVUnicodeString::FreeRep(Rep* rep) noexcept {
  NUVObjectPool::Free(rep, sizeof(Rep) + rep->capacity + 1);
}

char* NUVUnicodeString::PrepareOverwrite(size_t bytes) {
  Rep* rep = bytes > kInlineCapacity ? SoleRepWithRoom(bytes) : nullptr;
  if (!rep) return Reserve(bytes, bytes);
  rep->size = bytes;
  rep->Text()[bytes] = '\0';
  return rep->Text();
}

void NUVUnicodeString::FinishOverwrite(size_t bytes) {
  if (bytes >= GetLengthInBytes()) return;
  NUV_DEBUG_ASSERT(OwnsTextAlone());  // what PrepareOverwrite gave is not shared yet
  if (IsShared()) {
    SharedRep()->size = bytes;
    SharedRep()->Text()[bytes] = '\0';
  } else {
    SetInlineLength(bytes);
  }
  NUV_DEBUG_ASSERT(HoldsInvariants() && GetLengthInBytes() == bytes);
}

int NUVUnicodeString::GetLengthInChar() const {
  // Every byte that does not continue a character starts one. Eight bytes at
  // a time: a continuation byte has its top bit set and the next one clear.
  constexpr std::uint64_t kTopBits = 0x8080808080808080ULL;
  const std::string_view text = View();
  const char* p = text.data();
  const size_t n = text.size();
  size_t continuations = 0;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, 8);
    const std::uint64_t marks = (word & ~(word << 1) & kTopBits) >> 7;  // 1 in each continuation byte
    continuations += static_cast<size_t>((marks * 0x0101010101010101ULL) >> 56);
  }
  for (; i < n; ++i) continuations += IsContinuationByte(p[i]) ? 1 : 0;
  return static_cast<int>(n - continuations);
}

bool NUVUnicodeString::OnlyContinuationBytes() const {
  for (char c : View()) {
    if (!IsContinuationByte(c)) return false;
  }
  return true;
}

NUVUnicodeString& NUVUnicodeString::BuildFromNum(int value, const char* format) {
  if (format && std::strcmp(format, "%d") == 0) {
    char buffer[16];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    Assign(std::string_view(buffer, static_cast<size_t>(end - buffer)));
    return *this;
  }
  if (!IsSingleConversion(format, "dixXo")) RaiseBadFormat(format);
  Assign(FormatInCLocale(format, value));
  return *this;
}

NUVUnicodeString& NUVUnicodeString::BuildFromNum(double value, const char* format) {
  if (format && std::strcmp(format, "%g") == 0) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    Assign(std::string_view(buffer, static_cast<size_t>(end - buffer)));
    return *this;
  }
  if (!IsSingleConversion(format, "eEfFgGaA")) RaiseBadFormat(format);
  Assign(FormatInCLocale(format, value));
  return *this;
}

int NUVUnicodeString::ReplaceSubString(const NUVUnicodeString& name, const NUVUnicodeString& text) {
  return Replace(name.View(), text.View(), nullptr);
}

int NUVUnicodeString::ReplaceSubString(const NUVUnicodeString& name, const NUVUnicodeString& text,
                                       std::vector<size_t>& at) {
  return Replace(name.View(), text.View(), &at);
}

int NUVUnicodeString::Replace(std::string_view pattern, std::string_view replacement, std::vector<size_t>* at) {
  const std::string_view source = View();
  if (pattern.empty()) return 0;
  size_t found = source.find(pattern);
  if (found == std::string_view::npos) return 0;
  if (replacement.size() <= pattern.size() && OwnsTextAlone() && !Holds(pattern) && !Holds(replacement)) {
    return ReplaceInPlace(pattern, replacement, found, at);
  }
  // Room for one replacement that lengthens the text; more grow the buffer.
  const size_t growth = replacement.size() > pattern.size() ? replacement.size() - pattern.size() : 0;
  NUVUnicodeString result;
  result.Reserve(0, source.size() + growth);
  size_t from = 0;
  int count = 0;
  for (; found != std::string_view::npos; found = source.find(pattern, from)) {
    if (at) at->push_back(found);
    result.Append(source.substr(from, found - from));
    result.Append(replacement);
    from = found + pattern.size();
    ++count;
  }
  result.Append(source.substr(from));
  *this = std::move(result);
  NUV_DEBUG_ASSERT(HoldsInvariants() && OwnsTextAlone());
  return count;
}

bool NUVUnicodeString::OwnsTextAlone() const { return !IsShared() || SharedRep()->refs.IsSole(); }

bool NUVUnicodeString::Holds(std::string_view part) const {
  const std::string_view text = View();
  const std::less_equal<const char*> atOrBefore;
  return !part.empty() && atOrBefore(text.data(), part.data()) &&
         atOrBefore(part.data(), text.data() + text.size());
}

// The text shrinks or keeps its length, so each piece moves towards the
// start, behind the place the search reads from.
int NUVUnicodeString::ReplaceInPlace(std::string_view pattern, std::string_view replacement, size_t found,
                                     std::vector<size_t>* at) {
  const std::string_view source = View();
  // Writing in place is sound only into text of this string's own that
  // neither the pattern nor the replacement lies in.
  NUV_DEBUG_ASSERT(OwnsTextAlone() && replacement.size() <= pattern.size() && !Holds(pattern) &&
                   !Holds(replacement));
  char* text = IsShared() ? SharedRep()->Text() : inline_;
  size_t out = found;
  size_t from = found;
  int count = 0;
  while (found != std::string_view::npos) {
    if (at) at->push_back(found);
    std::memmove(text + out, source.data() + from, found - from);
    out += found - from;
    std::memcpy(text + out, replacement.data(), replacement.size());
    out += replacement.size();
    from = found + pattern.size();
    ++count;
    found = source.find(pattern, from);
  }
  std::memmove(text + out, source.data() + from, source.size() - from);
  out += source.size() - from;
  if (IsShared()) {
    SharedRep()->size = out;
    SharedRep()->Text()[out] = '\0';
  } else {
    SetInlineLength(out);
  }
  NUV_DEBUG_ASSERT(HoldsInvariants() && GetLengthInBytes() == out);
  return count;
}

NUVUnicodeString& NUVUnicodeString::Strip(int mode, const NUVUnicodeChar& c) {
  const std::string unit = Utf8(c.GetCodePoint());
  const std::string_view text = View();
  size_t start = 0;
  size_t end = text.size();
  if (mode == 1 || mode == 3) {
    while (text.compare(start, unit.size(), unit) == 0) start += unit.size();
  }
  if (mode == 2 || mode == 3) {
    while (end >= start + unit.size() && text.compare(end - unit.size(), unit.size(), unit) == 0)
      end -= unit.size();
  }
  if (start > 0 || end < text.size()) Assign(text.substr(start, end - start));
  NUV_DEBUG_ASSERT(HoldsInvariants());
  return *this;
}
