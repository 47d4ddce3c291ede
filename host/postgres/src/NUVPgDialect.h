#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "NUVHostDialect.h"

// The server's language, with standard_conforming_strings on: its lexer
// (NUVPgScan: E'', B'', X'', U&'', dollar quotes, nested comments), typed
// literals after a type name, and literals that read back the same
// whatever standard_conforming_strings is.
class NUVPgDialect final : public NUVHostDialect {
 public:
  std::vector<NUVHostLexeme> Lexemes(std::string_view text) const override;
  bool TypedLiterals() const override { return true; }
  // False for a statement led by SELECT, VALUES, TABLE or SHOW.
  bool Writes(std::string_view statement) const override;
  std::string QuotedLiteral(std::string_view text) const override;

  // True when a statement led by the word (upper case) may write.
  static bool WritesAfter(const std::string& firstWord);
};
