#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "NUVHostWrittenText.h"

// One token of a PostgreSQL SQL text: its kind and where it stands.
struct NUVPgToken {
  enum class Kind {
    Blank,       // white space
    Comment,     // "-- ..." to the end of the line, or "/* ... */" (nested)
    Literal,     // a standard string literal '...', quotes included
    Special,     // E'...', B'...', X'...', U&'...' and $tag$...$tag$
    Identifier,  // a word, or a name quoted with ""
    Parameter,   // $1, or :name outside a "::" cast
    Semicolon,   // ;
    Other,       // a number, an operator or a character of its own
  };
  Kind kind;
  size_t begin;
  size_t length;
};

// Splits a text as PostgreSQL's lexer does, with standard_conforming_strings
// on: a backslash has no meaning in '...', only in E'...'. An unterminated
// literal, quoted name or comment runs to the end of the text. Every byte
// belongs to exactly one token.
std::vector<NUVPgToken> NUVPgScan(std::string_view text);

// The tokens in the classes every host shares.
std::vector<NUVHostLexeme> NUVPgLexemes(std::string_view text, const std::vector<NUVPgToken>& tokens);
// The statement's first word (its first unquoted or quoted name), upper
// case; empty when it has none.
std::string NUVPgFirstWord(std::string_view text, const std::vector<NUVPgToken>& tokens);

// The statement made ready for the server. In plain mode each string
// literal the library wrote is decoded from its blank-encoded form; bound,
// it becomes $1, $2... in the text, else it is written back as a literal
// of the server's. A literal the library wrote right after a word (a type
// name as in DATE '2024-01-01', which takes no parameter there) is always
// written back as a literal. Every other part of the text stays as written.
struct NUVPgStatementText {
  std::string withParameters;       // decoded literals as $n where they may be bound
  std::string inlined;              // decoded literals written back as literals
  std::vector<std::string> values;  // the bound texts, in the order of their $n
  std::string firstWord;            // the statement's first word, upper case
  std::string problem;              // why the text must not run; empty when it may
};

// Prepares the text; decode false (encoded mode) keeps every literal as it
// is written. The library-written values are checked against the server's
// lexer either way.
NUVPgStatementText NUVPgPrepareText(NUVHostWrittenText& text, bool decode);

// The value as a string literal the server reads back exactly, whatever
// standard_conforming_strings is: '...' with apostrophes doubled, or
// E'...' with backslashes doubled too when the value holds a backslash.
std::string NUVPgLiteral(std::string_view value);
