#include "NUVSqliteDialect.h"

#include <cctype>
#include <string>

namespace {

bool SameWord(std::string_view word, std::string_view upper) {
  if (word.size() != upper.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(word[i])) != upper[i]) return false;
  }
  return true;
}

}  // namespace

std::vector<NUVHostLexeme> NUVSqliteDialect::Lexemes(std::string_view text,
                                                     const std::vector<NUVSqlToken>& tokens) {
  using Kind = NUVSqlToken::Kind;
  using Class = NUVHostLexeme::Class;
  std::vector<NUVHostLexeme> lexemes;
  lexemes.reserve(tokens.size());
  for (const NUVSqlToken& token : tokens) {
    Class kind = Class::Other;
    switch (token.kind) {
      case Kind::Blank:
        kind = Class::Blank;
        break;
      case Kind::Comment:
        kind = Class::Comment;
        break;
      case Kind::Literal:
        kind = Class::StringLiteral;
        break;
      case Kind::Blob:
        kind = Class::Quoted;
        break;
      case Kind::Identifier: {
        const char first = text[token.begin];
        kind = first == '"' || first == '[' || first == '`' ? Class::Quoted : Class::Word;
        break;
      }
      case Kind::Parameter:
      case Kind::Other:
        kind = Class::Other;
        break;
    }
    lexemes.push_back({kind, token.begin, token.length});
  }
  return lexemes;
}

std::vector<NUVHostLexeme> NUVSqliteDialect::Lexemes(std::string_view text) const {
  return Lexemes(text, NUVSqlTextScan::Scan(text));
}

bool NUVSqliteDialect::Writes(std::string_view statement) const {
  for (const NUVHostLexeme& lexeme : Lexemes(statement)) {
    if (lexeme.kind == NUVHostLexeme::Class::Blank || lexeme.kind == NUVHostLexeme::Class::Comment) continue;
    if (lexeme.kind != NUVHostLexeme::Class::Word) return true;
    const std::string_view word = statement.substr(lexeme.begin, lexeme.length);
    return !(SameWord(word, "SELECT") || SameWord(word, "VALUES") || SameWord(word, "EXPLAIN"));
  }
  return false;
}
