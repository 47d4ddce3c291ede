#pragma once
#include <string>
#include <string_view>

// The text a quoted literal stands for, read as the server reads it: '...'
// with apostrophes doubled, or E'...' with backslashes doubled too (the
// only escapes the host's literals hold).
inline std::string PgUnquoted(std::string_view literal) {
  const bool escapes = literal.front() == 'E';
  std::string value;
  for (size_t i = escapes ? 2 : 1; i + 1 < literal.size(); ++i) {
    if (literal[i] == '\'' || (escapes && literal[i] == '\\')) ++i;
    value += literal[i];
  }
  return value;
}
