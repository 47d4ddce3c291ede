#include "NUVPgDialect.h"

#include "NUVPgTextScan.h"

std::vector<NUVHostLexeme> NUVPgDialect::Lexemes(std::string_view text) const {
  return NUVPgLexemes(text, NUVPgScan(text));
}

bool NUVPgDialect::Writes(std::string_view statement) const {
  return WritesAfter(NUVPgFirstWord(statement, NUVPgScan(statement)));
}

std::string NUVPgDialect::QuotedLiteral(std::string_view text) const { return NUVPgLiteral(text); }

bool NUVPgDialect::WritesAfter(const std::string& firstWord) {
  for (const char* reading : {"SELECT", "VALUES", "TABLE", "SHOW"}) {
    if (firstWord == reading) return false;
  }
  return true;
}
