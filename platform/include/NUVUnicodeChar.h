#pragma once

// One character (a Unicode code point).
class NUVUnicodeChar {
 public:
  // The character whose code point is the byte's value (0 to 255).
  constexpr explicit NUVUnicodeChar(char c) : codePoint_(static_cast<unsigned char>(c)) {}
  // The code point.
  constexpr char32_t GetCodePoint() const { return codePoint_; }

 private:
  char32_t codePoint_;
};
