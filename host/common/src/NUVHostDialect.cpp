#include "NUVHostDialect.h"

#include <algorithm>

size_t NUVHostDialect::CountComments(std::string_view text) const {
  const std::vector<NUVHostLexeme> lexemes = Lexemes(text);
  return static_cast<size_t>(std::count_if(lexemes.begin(), lexemes.end(), [](const NUVHostLexeme& lexeme) {
    return lexeme.kind == NUVHostLexeme::Class::Comment;
  }));
}
