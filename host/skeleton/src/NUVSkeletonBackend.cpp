#include "NUVSkeletonBackend.h"

#include "NUVHostWrittenText.h"

std::vector<NUVHostLexeme> NUVSkeletonDialect::Lexemes(std::string_view text) const {
  // A stand-in: the database's own lexer goes here.
  if (text.empty()) return {};
  return {{NUVHostLexeme::Class::Other, 0, text.size()}};
}

bool NUVSkeletonDialect::Writes(std::string_view /*statement*/) const { return true; }

std::string NUVSkeletonBackend::Table(const std::string& /*classType*/) const { return {}; }

std::string NUVSkeletonBackend::KeyColumn(const std::string& /*table*/) const { return {}; }

long NUVSkeletonBackend::FindKey(const std::string& /*table*/, const std::string& /*column*/,
                                 const std::string& /*key*/, bool& exists) {
  exists = false;
  return NUVHostRefused("the Skeleton host looks up no keys yet");
}

long NUVSkeletonBackend::Open(NUVHostWrittenText& statement, bool /*streaming*/,
                              std::unique_ptr<NUVHostCursor>& cursor) {
  cursor.reset();
  const std::string problem = statement.Check(dialect_.Lexemes(statement.Text()));
  if (!problem.empty()) return NUVHostRefused(problem);
  return NUVHostRefused("the Skeleton host runs no statements yet");
}

long NUVSkeletonBackend::Begin() { return NUVHostRefused("the Skeleton host has no transactions yet"); }

long NUVSkeletonBackend::Commit() { return NUVHostRefused("the Skeleton host has no transactions yet"); }

long NUVSkeletonBackend::Rollback() { return NUVHostRefused("the Skeleton host has no transactions yet"); }
