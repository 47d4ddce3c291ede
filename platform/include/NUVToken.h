#pragma once
#include "NUVPlatformExport.h"
#include "NUVUnicodeString.h"

// Splits a text into tokens as strtok does: runs of separators are skipped,
// so no token is empty; an empty token means none is left.
class NUVPLATFORM_API NUVToken {
 public:
  // Tokens of the text, from its start.
  explicit NUVToken(const NUVUnicodeString& text) : text_(text) {}
  // The next token; separators is a set of ASCII characters.
  NUVUnicodeString GetNextToken(const char* separators);

 private:
  NUVUnicodeString text_;
  size_t position_ = 0;
};
