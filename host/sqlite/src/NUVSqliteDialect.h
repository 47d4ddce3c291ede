#pragma once
#include <string_view>
#include <vector>

#include "NUVHostDialect.h"
#include "NUVSqlTextScan.h"

// SQLite's language: its tokenizer's tokens (NUVSqlTextScan), no typed
// literals (X'..' is a blob of its own), names quoted with "".
class NUVSqliteDialect final : public NUVHostDialect {
 public:
  std::vector<NUVHostLexeme> Lexemes(std::string_view text) const override;
  bool TypedLiterals() const override { return false; }
  // False for a statement led by SELECT, VALUES or EXPLAIN; the prepared
  // statement says for certain (sqlite3_stmt_readonly).
  bool Writes(std::string_view statement) const override;

  // The tokens already scanned from the text, in the shared classes.
  static std::vector<NUVHostLexeme> Lexemes(std::string_view text, const std::vector<NUVSqlToken>& tokens);
};
