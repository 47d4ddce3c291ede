#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "NUVHostQuotedName.h"
#include "NUVHostWrittenText.h"

// The language a database speaks, as far as the hosts and their callers
// need to know it: how its lexer splits a text, whether a word before a
// string literal makes a typed literal of it, whether a statement may
// write, and how names and texts are quoted. A dialect holds no state and
// may be used from any thread.
class NUVHostDialect {
 public:
  virtual ~NUVHostDialect() = default;

  // Every token of the text in the classes every host shares, in order;
  // every byte belongs to exactly one. An unterminated literal, quoted
  // name or comment runs to the end of the text.
  virtual std::vector<NUVHostLexeme> Lexemes(std::string_view text) const = 0;
  // True when a string literal right after a word is a typed literal (a
  // type name as in DATE '2024-01-01'): the database then takes no bound
  // value there, and the host writes the value back as a literal.
  virtual bool TypedLiterals() const = 0;
  // True when the statement may change the database; false only for a
  // statement that certainly reads.
  virtual bool Writes(std::string_view statement) const = 0;
  // The name quoted so that it names exactly that table or column.
  virtual std::string QuotedName(std::string_view name) const { return nuvhost::QuotedName(name); }
  // The text as a string literal the database reads back exactly.
  virtual std::string QuotedLiteral(std::string_view text) const { return nuvhost::QuotedLiteral(text); }

  // The number of comments in the text.
  size_t CountComments(std::string_view text) const;
};
