#pragma once
#include <cctype>
#include <cstddef>
#include <string_view>
#include <vector>

// Byte classes both lexers use: a digit, and the first byte of an unquoted
// identifier (a letter, '_' or any byte of a multi-byte character).
inline bool NUVHostIsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
// The value of a hexadecimal digit in either case; -1 for any other byte.
inline int NUVHostHexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
inline bool NUVHostIsIdentifierStart(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return std::isalpha(byte) || c == '_' || byte >= 0x80;
}

// The walk every host's lexer shares: the text read from left to right, a
// token at a time. Scanner derives from it and supplies Next(), which reads
// at least one byte from at_ and answers the token's kind; Token is
// {kind, begin, length}.
template <class Scanner, class Token>
class NUVHostTokenWalk {
 public:
  // A walk from the start of the text, which must outlive it.
  explicit NUVHostTokenWalk(std::string_view text) : text_(text) {}

  // Every token of the text in order; every byte belongs to exactly one.
  std::vector<Token> All() {
    std::vector<Token> tokens;
    while (at_ < text_.size()) {
      const size_t begin = at_;
      const auto kind = static_cast<Scanner*>(this)->Next();
      tokens.push_back({kind, begin, at_ - begin});
    }
    return tokens;
  }

 protected:
  // The byte ahead of the position; a zero byte past the end.
  char Peek(size_t ahead = 0) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }
  // Reads the bytes that satisfy the predicate and answers the kind.
  template <class Kind, class Predicate>
  Kind While(Kind kind, Predicate predicate) {
    while (at_ < text_.size() && predicate(text_[at_])) ++at_;
    return kind;
  }

  std::string_view text_;  // the text walked
  size_t at_ = 0;          // the position of the next byte to read
};
