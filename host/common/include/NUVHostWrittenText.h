#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "NUVEdbStatementProvenance.h"

// A token of a statement as every host's lexer classes it for the checks
// of what the library wrote.
struct NUVHostLexeme {
  // What the token is, as far as the checks need to know.
  enum class Class {
    Blank,          // white space
    Comment,        // a comment
    StringLiteral,  // a plain string literal '...', quotes included
    Quoted,         // any other literal or quoted name (X'..', E'..', $$..$$, "..")
    Word,           // an unquoted word: a keyword, a name or a type name
    Other,          // numbers, operators, punctuation, parameters
  };
  Class kind;     // what the token is
  size_t begin;   // its first byte's offset in the text
  size_t length;  // its length in bytes
};

// A string literal the library wrote into a statement: where it stands,
// its value decoded from the blank-encoded form, and whether a word stands
// right before it (a type name as in DATE '2024-01-01', or a keyword).
struct NUVHostWrittenLiteral {
  size_t begin = 0;        // the opening quote's offset in the text
  size_t length = 0;       // the literal's length in bytes, quotes included
  std::string value;       // the text it stands for, decoded
  bool afterWord = false;  // a word stands right before it
};

// A finished statement with the string literals the library wrote into it
// (found through the library's record, never guessed from how a literal
// looks), checked against the host's own lexer.
class NUVHostWrittenText {
 public:
  // Looks the text up in this thread's record of finished statements;
  // a text the library did not finish has no written values.
  explicit NUVHostWrittenText(std::string_view text);

  // The statement's text.
  std::string_view Text() const { return text_; }
  // True when the library finished this text on this thread.
  bool FromLibrary() const { return fromLibrary_; }

  // Checks that each value the library wrote keeps the shape it was
  // written with under the host's lexer (given as the text's lexemes in
  // order): a string value stands as one plain string literal of its own,
  // an item of a list of numbers stands outside literals, quoted names and
  // comments (keys obey the key rule and may stand inside quotes), and
  // no number makes a comment of what follows it. Answers why the text
  // must not run, naming the parameter, or an empty text; the string
  // literals are then in Literals().
  std::string Check(const std::vector<NUVHostLexeme>& lexemes);
  // The string literals the library wrote, in text order, once Check
  // found the text fit to run.
  const std::vector<NUVHostWrittenLiteral>& Literals() const { return literals_; }

  // The text with each written string literal replaced by what write
  // answers for it (a placeholder, or the value as a literal of the
  // host's own); index counts the literals from 0.
  std::string Rewritten(const std::function<std::string(const NUVHostWrittenLiteral&, size_t index)>& write) const;

 private:
  std::string_view text_;
  bool fromLibrary_ = false;
  std::vector<NUVEdbWrittenValue> written_;
  std::vector<NUVHostWrittenLiteral> literals_;
};
