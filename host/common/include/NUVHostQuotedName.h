#pragma once
#include <string>
#include <string_view>

namespace nuvhost {

// The text between two quote characters, each quote character inside
// doubled, so that SQL reads it back exactly whatever it holds.
inline std::string Quoted(char quote, std::string_view text) {
  std::string quoted(1, quote);
  for (const char c : text) {
    if (c == quote) quoted += quote;
    quoted += c;
  }
  return quoted + quote;
}

// The identifier written as a quoted SQL name, so that it names exactly
// that table or column.
inline std::string QuotedName(std::string_view identifier) { return Quoted('"', identifier); }

// The text written as an SQL string literal, between apostrophes, each
// apostrophe inside doubled.
inline std::string QuotedLiteral(std::string_view text) { return Quoted('\'', text); }

}  // namespace nuvhost
