#pragma once

// One character (a Unicode code point).
class NUVUnicodeChar {
 public:
  constexpr explicit NUVUnicodeChar(char c) : codePoint_(static_cast<unsigned char>(c)) {}
  constexpr char32_t GetCodePoint() const { return codePoint_; }

 private:
  char32_t codePoint_;
};
