#pragma once
#include <string>
#include <string_view>

namespace nuvhost {

// The value of a string literal token as the library wrote it: one closed
// by its apostrophe that holds no apostrophe inside, its body decoded from
// the blank-encoded form. False, leaving value alone, for any other token
// (a literal its author wrote with doubled apostrophes stays as it is).
bool LibraryLiteralValue(std::string_view literal, std::string& value);

// The value written as an SQL string literal: between apostrophes, each
// apostrophe inside doubled.
std::string SqlLiteral(std::string_view value);

}  // namespace nuvhost
