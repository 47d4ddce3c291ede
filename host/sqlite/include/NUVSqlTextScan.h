#pragma once
#include <string_view>
#include <vector>

// One token of an SQL text: its kind and where it stands in the text.
struct NUVSqlToken {
  // What a token is.
  enum class Kind {
    Blank,       // white space
    Comment,     // "-- ..." to the end of the line, or "/* ... */"
    Literal,     // a string literal '...', quotes included
    Blob,        // a blob literal X'...'
    Identifier,  // a word, or a name quoted with "", [] or ``
    Parameter,   // ?, ?NNN, :name, @name or $name
    Other,       // a number, an operator or a character of its own
  };
  Kind kind;      // what the token is
  size_t begin;   // its first byte's offset in the text
  size_t length;  // its length in bytes
};

// Splits an SQL text into tokens as SQLite's own tokenizer does, so that a
// quote inside a comment, a "--" inside a literal or a ":" inside a quoted
// name is taken for what it is. An unterminated literal, quoted name or
// comment runs to the end of the text. Never fails: every byte belongs to
// exactly one token.
class NUVSqlTextScan {
 public:
  // Every token of the text, in order.
  static std::vector<NUVSqlToken> Scan(std::string_view text);

  // The number of comment tokens in the text.
  static size_t CountComments(std::string_view text);
};
