#include "NUVHostLiteral.h"

#include "NUVEdsGeneralTool.h"
#include "NUVHostQuotedName.h"

namespace nuvhost {

bool LibraryLiteralValue(std::string_view literal, std::string& value) {
  if (literal.size() < 2 || literal.front() != '\'' || literal.back() != '\'') return false;
  const std::string_view body = literal.substr(1, literal.size() - 2);
  if (body.find('\'') != std::string_view::npos) return false;
  value = NUVEdsGeneralTool().DecodeBlanks(NUVUnicodeString(body)).View();
  return true;
}

std::string SqlLiteral(std::string_view value) { return Quoted('\'', value); }

}  // namespace nuvhost
