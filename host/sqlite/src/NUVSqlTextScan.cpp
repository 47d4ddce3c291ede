#include "NUVSqlTextScan.h"

#include <algorithm>
#include <cctype>

#include "NUVHostTokenWalk.h"

namespace {

using Kind = NUVSqlToken::Kind;

bool IsIdentifierByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return std::isalnum(byte) || c == '_' || c == '$' || byte >= 0x80;
}

constexpr auto IsIdentifierStart = NUVHostIsIdentifierStart;
constexpr auto IsDigit = NUVHostIsDigit;

// Reads tokens from the text one after the other.
class Scanner : public NUVHostTokenWalk<Scanner, NUVSqlToken> {
 public:
  using NUVHostTokenWalk::NUVHostTokenWalk;

 private:
  friend class NUVHostTokenWalk<Scanner, NUVSqlToken>;

  // Reads one token and answers its kind; at least one byte is read.
  Kind Next() {
    const char c = Peek();
    if (std::isspace(static_cast<unsigned char>(c)))
      return While(Kind::Blank, [](char b) { return std::isspace(static_cast<unsigned char>(b)) != 0; });
    if (c == '-' && Peek(1) == '-') return LineComment();
    if (c == '/' && Peek(1) == '*') return BlockComment();
    if (c == '\'') return Quoted(Kind::Literal, '\'', '\'');
    if (c == '"') return Quoted(Kind::Identifier, '"', '"');
    if (c == '`') return Quoted(Kind::Identifier, '`', '`');
    if (c == '[') return Quoted(Kind::Identifier, '[', ']');
    if ((c == 'x' || c == 'X') && Peek(1) == '\'') {
      ++at_;
      return Quoted(Kind::Blob, '\'', '\'');
    }
    if (c == '?') {
      ++at_;
      return While(Kind::Parameter, IsDigit);
    }
    if ((c == ':' || c == '@' || c == '$') && IsIdentifierByte(Peek(1))) {
      ++at_;
      return While(Kind::Parameter, IsIdentifierByte);
    }
    if (IsIdentifierStart(c)) return While(Kind::Identifier, IsIdentifierByte);
    if (IsDigit(c) || (c == '.' && IsDigit(Peek(1)))) return Number();
    ++at_;
    return Kind::Other;
  }

  Kind LineComment() {
    const size_t end = text_.find('\n', at_);
    at_ = end == std::string_view::npos ? text_.size() : end;
    return Kind::Comment;
  }

  Kind BlockComment() {
    const size_t end = text_.find("*/", at_ + 2);
    at_ = end == std::string_view::npos ? text_.size() : end + 2;
    return Kind::Comment;
  }

  // From the opening character to the closing one; a doubled closing
  // character stands for itself unless it also opens ([...] has no escape).
  Kind Quoted(Kind kind, char open, char close) {
    ++at_;
    while (at_ < text_.size()) {
      if (text_[at_++] != close) continue;
      if (open == close && Peek() == close) {
        ++at_;
        continue;
      }
      break;
    }
    return kind;
  }

  // Digits with a fraction and an exponent, or a hexadecimal number; the
  // word characters that follow belong to it as SQLite reads them.
  Kind Number() {
    while (IsDigit(Peek()) || Peek() == '.') ++at_;
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
      at_ += 2;
    }
    return While(Kind::Other, IsIdentifierByte);
  }
};

}  // namespace

std::vector<NUVSqlToken> NUVSqlTextScan::Scan(std::string_view text) { return Scanner(text).All(); }

size_t NUVSqlTextScan::CountComments(std::string_view text) {
  const std::vector<NUVSqlToken> tokens = Scan(text);
  return static_cast<size_t>(std::count_if(tokens.begin(), tokens.end(),
                                           [](const NUVSqlToken& t) { return t.kind == Kind::Comment; }));
}
