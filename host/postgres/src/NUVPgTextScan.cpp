#include "NUVPgTextScan.h"

#include <cctype>

#include "NUVHostLiteral.h"
#include "NUVHostTokenWalk.h"

namespace {

using Kind = NUVPgToken::Kind;

constexpr auto IsIdentifierStart = NUVHostIsIdentifierStart;
constexpr auto IsDigit = NUVHostIsDigit;

bool IsIdentifierByte(char c) { return IsIdentifierStart(c) || IsDigit(c) || c == '$'; }

class Scanner : public NUVHostTokenWalk<Scanner, NUVPgToken> {
 public:
  using NUVHostTokenWalk::NUVHostTokenWalk;

 private:
  friend class NUVHostTokenWalk<Scanner, NUVPgToken>;

  // Reads one token and answers its kind; at least one byte is read.
  Kind Next() {
    const char c = Peek();
    if (std::isspace(static_cast<unsigned char>(c)))
      return While(Kind::Blank, [](char b) { return std::isspace(static_cast<unsigned char>(b)) != 0; });
    if (c == '-' && Peek(1) == '-') return LineComment();
    if (c == '/' && Peek(1) == '*') return BlockComment();
    if (c == '\'') return Quoted(Kind::Literal, false);
    if (c == '"') return QuotedName();
    if (c == ';') return One(Kind::Semicolon);
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if ((upper == 'E' || upper == 'B' || upper == 'X' || upper == 'N') && Peek(1) == '\'') {
      ++at_;
      return Quoted(Kind::Special, upper == 'E');
    }
    if (upper == 'U' && Peek(1) == '&' && (Peek(2) == '\'' || Peek(2) == '"')) {
      at_ += 2;
      return Peek() == '\'' ? Quoted(Kind::Special, false) : QuotedName();
    }
    if (c == '$') return Dollar();
    if (c == ':' && Peek(1) == ':') {
      at_ += 2;
      return Kind::Other;
    }
    if (c == '[') ++brackets_;
    if (c == ']' && brackets_ > 0) --brackets_;
    // Inside brackets ":" separates the bounds of an array slice (a[lo:hi]).
    if (c == ':' && IsIdentifierStart(Peek(1)) && brackets_ == 0) {
      ++at_;
      return While(Kind::Parameter, IsIdentifierByte);
    }
    if (IsIdentifierStart(c)) return While(Kind::Identifier, IsIdentifierByte);
    if (IsDigit(c)) return While(Kind::Other, [](char b) { return IsIdentifierByte(b) || b == '.'; });
    return One(Kind::Other);
  }

  Kind One(Kind kind) {
    ++at_;
    return kind;
  }

  Kind LineComment() {
    const size_t end = text_.find('\n', at_);
    at_ = end == std::string_view::npos ? text_.size() : end;
    return Kind::Comment;
  }

  // "/* ... */", where comments nest.
  Kind BlockComment() {
    int depth = 0;
    while (at_ < text_.size()) {
      if (Peek() == '/' && Peek(1) == '*') {
        ++depth;
        at_ += 2;
      } else if (Peek() == '*' && Peek(1) == '/') {
        at_ += 2;
        if (--depth == 0) break;
      } else {
        ++at_;
      }
    }
    return Kind::Comment;
  }

  // From the opening apostrophe to the closing one; a doubled apostrophe
  // stands for itself, and with backslashes a backslash escapes the next
  // byte.
  Kind Quoted(Kind kind, bool backslashes) {
    ++at_;
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (backslashes && c == '\\') {
        if (at_ < text_.size()) ++at_;
        continue;
      }
      if (c != '\'') continue;
      if (Peek() == '\'') {
        ++at_;
        continue;
      }
      break;
    }
    return kind;
  }

  Kind QuotedName() {
    ++at_;
    while (at_ < text_.size()) {
      if (text_[at_++] != '"') continue;
      if (Peek() == '"') {
        ++at_;
        continue;
      }
      break;
    }
    return Kind::Identifier;
  }

  // $1 (a parameter), or $tag$ ... $tag$ (a dollar-quoted string), or a
  // lone "$".
  Kind Dollar() {
    if (IsDigit(Peek(1))) {
      ++at_;
      return While(Kind::Parameter, IsDigit);
    }
    size_t end = at_ + 1;
    while (end < text_.size() && text_[end] != '$' && IsIdentifierByte(text_[end])) ++end;
    if (end >= text_.size() || text_[end] != '$') return One(Kind::Other);
    const std::string_view tag = text_.substr(at_, end - at_ + 1);
    const size_t close = text_.find(tag, end + 1);
    at_ = close == std::string_view::npos ? text_.size() : close + tag.size();
    return Kind::Special;
  }

  int brackets_ = 0;  // the "[" not yet closed
};

bool Meaningful(Kind kind) { return kind != Kind::Blank && kind != Kind::Comment && kind != Kind::Semicolon; }

std::string Upper(std::string_view word) {
  std::string upper(word);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

std::vector<NUVPgToken> NUVPgScan(std::string_view text) { return Scanner(text).All(); }

NUVPgStatementText NUVPgPrepareText(std::string_view text, bool decode) {
  NUVPgStatementText prepared;
  bool ended = false;  // a ";" closed the first statement
  for (const NUVPgToken& token : NUVPgScan(text)) {
    const std::string_view piece = text.substr(token.begin, token.length);
    if (ended && Meaningful(token.kind) && prepared.problem.empty())
      prepared.problem = "the text holds more than one statement";
    if (token.kind == Kind::Semicolon && !prepared.firstWord.empty()) ended = true;
    if (prepared.firstWord.empty() && token.kind == Kind::Identifier) prepared.firstWord = Upper(piece);
    if (token.kind == Kind::Parameter && prepared.problem.empty())
      prepared.problem =
          "the statement holds the parameter " + std::string(piece) + ", which no value replaced";
    std::string value;
    if (!decode || token.kind != Kind::Literal || !nuvhost::LibraryLiteralValue(piece, value)) {
      prepared.withParameters += piece;
      prepared.inlined += piece;
      continue;
    }
    if (value.find('\0') != std::string::npos && prepared.problem.empty())
      prepared.problem = "a text value holds a zero byte, which the server cannot store";
    prepared.withParameters += '$';  // appended apart: g++ 12 misreads a literal plus a string
    prepared.withParameters += std::to_string(prepared.values.size() + 1);
    prepared.inlined += nuvhost::SqlLiteral(value);
    prepared.values.push_back(std::move(value));
  }
  if (prepared.firstWord.empty() && prepared.problem.empty())
    prepared.problem = "the text holds no statement";
  return prepared;
}
