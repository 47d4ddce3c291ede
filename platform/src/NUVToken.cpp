#include "NUVToken.h"

#include <cstring>

NUVUnicodeString NUVToken::GetNextToken(const char* separators) {
  const std::string_view text = text_.View();
  const char* set = separators ? separators : "";
  auto isSeparator = [set](char c) { return c != '\0' && std::strchr(set, c) != nullptr; };
  while (position_ < text.size() && isSeparator(text[position_])) ++position_;
  const size_t start = position_;
  while (position_ < text.size() && !isSeparator(text[position_])) ++position_;
  return NUVUnicodeString(text.substr(start, position_ - start));
}
