#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "NUVHostBackend.h"
#include "NUVHostDialect.h"

// The database's language. Lexemes must class every byte of the text as
// the database's own lexer does (literals, quoted names, comments,
// parameters): the checks of what the library wrote depend on it.
class NUVSkeletonDialect final : public NUVHostDialect {
 public:
  std::vector<NUVHostLexeme> Lexemes(std::string_view text) const override;
  bool TypedLiterals() const override { return false; }
  bool Writes(std::string_view statement) const override;
};

// What differs from every other host: statements, the schema, keys and
// transactions over the database's client. Every failure is answered with
// NUVHostRefused and the database's message.
class NUVSkeletonBackend final : public NUVHostBackend {
 public:
  explicit NUVSkeletonBackend(NUVHostTextMode textMode) : textMode_(textMode) {}

  std::string DatabaseName() const override { return "skeleton"; }
  const NUVHostDialect& Dialect() const override { return dialect_; }
  NUVHostTextMode TextMode() const override { return textMode_; }
  bool ReadOnly() const override { return false; }
  std::string Table(const std::string& classType) const override;
  std::string KeyColumn(const std::string& table) const override;
  long FindKey(const std::string& table, const std::string& column, const std::string& key,
               bool& exists) override;
  // Checks the library's values (statement.Check with the dialect's
  // lexemes), refuses a second statement or a parameter no value replaced,
  // binds the decoded literals in plain mode and opens a cursor.
  long Open(NUVHostWrittenText& statement, bool streaming, std::unique_ptr<NUVHostCursor>& cursor) override;
  long Begin() override;
  long Commit() override;
  long Rollback() override;
  void SchemaChanged() override {}

 private:
  NUVSkeletonDialect dialect_;
  NUVHostTextMode textMode_;
};
