#pragma once
#include <string>
#include <string_view>

namespace nuvhost {

// The identifier written as a quoted SQL name: between double quotes, each
// double quote inside doubled, so that it names exactly that table or
// column whatever it holds.
inline std::string QuotedName(std::string_view identifier) {
  std::string quoted = "\"";
  for (const char c : identifier) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace nuvhost
