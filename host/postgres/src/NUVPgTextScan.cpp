#include "NUVPgTextScan.h"

#include <cctype>

#include "NUVHostQuotedName.h"
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

std::vector<NUVHostLexeme> NUVPgLexemes(std::string_view text, const std::vector<NUVPgToken>& tokens) {
  using Class = NUVHostLexeme::Class;
  std::vector<NUVHostLexeme> lexemes;
  lexemes.reserve(tokens.size());
  for (const NUVPgToken& token : tokens) {
    Class kind = Class::Other;
    switch (token.kind) {
      case Kind::Blank: kind = Class::Blank; break;
      case Kind::Comment: kind = Class::Comment; break;
      case Kind::Literal: kind = Class::StringLiteral; break;
      case Kind::Special: kind = Class::Quoted; break;
      case Kind::Identifier: {
        // A quoted name ("..." or U&"...") holds a '"'; a word never does.
        const bool quoted = text.substr(token.begin, token.length).find('"') != std::string_view::npos;
        kind = quoted ? Class::Quoted : Class::Word;
        break;
      }
      case Kind::Parameter:
      case Kind::Semicolon:
      case Kind::Other: kind = Class::Other; break;
    }
    lexemes.push_back({kind, token.begin, token.length});
  }
  return lexemes;
}

std::string NUVPgFirstWord(std::string_view text, const std::vector<NUVPgToken>& tokens) {
  for (const NUVPgToken& token : tokens) {
    if (token.kind == Kind::Identifier) return Upper(text.substr(token.begin, token.length));
  }
  return {};
}

std::string NUVPgLiteral(std::string_view value) {
  if (value.find('\\') == std::string_view::npos) return nuvhost::QuotedLiteral(value);
  std::string literal = "E'";
  for (const char c : value) {
    if (c == '\'' || c == '\\') literal += c;
    literal += c;
  }
  return literal + '\'';
}

NUVPgStatementText NUVPgPrepareText(NUVHostWrittenText& text, bool decode) {
  NUVPgStatementText prepared;
  const std::string_view whole = text.Text();
  const std::vector<NUVPgToken> tokens = NUVPgScan(whole);
  bool ended = false;  // a ";" closed the first statement
  for (const NUVPgToken& token : tokens) {
    const std::string_view piece = whole.substr(token.begin, token.length);
    if (ended && Meaningful(token.kind) && prepared.problem.empty())
      prepared.problem = "the text holds more than one statement";
    if (token.kind == Kind::Semicolon && !prepared.firstWord.empty()) ended = true;
    if (prepared.firstWord.empty() && token.kind == Kind::Identifier) prepared.firstWord = Upper(piece);
    if (token.kind == Kind::Parameter && prepared.problem.empty())
      prepared.problem = "the statement holds the parameter " + std::string(piece) + ", which no value replaced";
  }
  if (prepared.firstWord.empty() && prepared.problem.empty()) prepared.problem = "the text holds no statement";
  if (prepared.problem.empty()) prepared.problem = text.Check(NUVPgLexemes(whole, tokens));
  if (!prepared.problem.empty() || !decode || text.Literals().empty()) {
    prepared.withParameters = prepared.inlined = std::string(whole);
    return prepared;
  }
  for (const NUVHostWrittenLiteral& literal : text.Literals()) {
    if (literal.value.find('\0') != std::string::npos)
      prepared.problem = "a text value holds a zero byte, which the server cannot store";
  }
  prepared.withParameters = text.Rewritten([&](const NUVHostWrittenLiteral& literal, size_t) {
    if (literal.afterWord) return NUVPgLiteral(literal.value);
    prepared.values.push_back(literal.value);
    std::string placeholder = "$";  // appended apart: g++ 12 misreads a literal plus a string
    placeholder += std::to_string(prepared.values.size());
    return placeholder;
  });
  prepared.inlined =
      text.Rewritten([](const NUVHostWrittenLiteral& literal, size_t) { return NUVPgLiteral(literal.value); });
  return prepared;
}
