#pragma once
#include <string>
#include <string_view>

#include "NUVPlatformExport.h"
#include "NUVUnicodeChar.h"

// The platform string. Holds UTF-8; lengths in characters count code points.
class NUVPLATFORM_API NUVUnicodeString {
 public:
  NUVUnicodeString() = default;
  // A null pointer gives the empty string.
  NUVUnicodeString(const char* utf8) : text_(utf8 ? utf8 : "") {}  // NOLINT(google-explicit-constructor)
  explicit NUVUnicodeString(std::string_view utf8) : text_(utf8) {}

  NUVUnicodeString& operator=(const char* utf8) {
    text_ = utf8 ? utf8 : "";
    return *this;
  }
  NUVUnicodeString& operator+=(const NUVUnicodeString& other) {
    text_ += other.text_;
    return *this;
  }
  NUVUnicodeString& operator+=(const char* utf8) {
    if (utf8) text_ += utf8;
    return *this;
  }
  bool operator==(const NUVUnicodeString& other) const { return text_ == other.text_; }
  bool operator==(const char* utf8) const { return text_ == (utf8 ? utf8 : ""); }

  // The number of characters (code points).
  int GetLengthInChar() const;
  // True when GetLengthInChar would answer 0, found without counting.
  bool HasNoCharacter() const;
  // The UTF-8 bytes, zero-terminated; valid until the string changes.
  const char* CastToCharPtr() const { return text_.c_str(); }
  std::string_view View() const { return text_; }
  size_t GetLengthInBytes() const { return text_.size(); }

  // Replaces the text by the number formatted as the C locale does, whatever
  // the process locale. The format holds one conversion for the value type
  // ("%d"-like for int, "%g"-like for double); another format raises a
  // platform error.
  NUVUnicodeString& BuildFromNum(int value, const char* format = "%d");
  NUVUnicodeString& BuildFromNum(double value, const char* format = "%g");

  // Replaces every occurrence of name, left to right and without overlap, by
  // text; never searches inside text it has just inserted. An empty name
  // changes nothing. Returns the number of replacements.
  int ReplaceSubString(const NUVUnicodeString& name, const NUVUnicodeString& text);

  // Removes the character at the start (mode 1), the end (mode 2) or both (3).
  NUVUnicodeString& Strip(int mode, const NUVUnicodeChar& c = NUVUnicodeChar(' '));

 private:
  std::string text_;
};
