#pragma once
#include <string>
#include <string_view>
#include <vector>

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

// The statement made ready for the server. Each string literal the library
// wrote ('...' with no apostrophe inside) is decoded from its blank-encoded
// form; bound, it becomes $1, $2... in the text, else it is written back as
// a literal of its own.
struct NUVPgStatementText {
  std::string withParameters;       // decoded literals as $n
  std::string inlined;              // decoded literals written back as literals
  std::vector<std::string> values;  // the decoded texts, in the order of their $n
  std::string firstWord;            // the statement's first word, upper case
  std::string problem;              // why the text must not run; empty when it may
};

// Prepares the text; decode false keeps every literal as it is written.
NUVPgStatementText NUVPgPrepareText(std::string_view text, bool decode);
