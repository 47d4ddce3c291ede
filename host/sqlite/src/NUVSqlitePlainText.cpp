#include "NUVSqlitePlainText.h"

#include "NUVEdsGeneralTool.h"
#include "NUVSqlTextScan.h"

NUVSqlitePlainText::NUVSqlitePlainText(std::string_view statement) {
  const NUVEdsGeneralTool general;
  std::string piece;
  for (const NUVSqlToken& token : NUVSqlTextScan::Scan(statement)) {
    const std::string_view text = statement.substr(token.begin, token.length);
    const std::string_view body = NUVSqlTextScan::LiteralBody(statement, token);
    const bool libraryLiteral = token.kind == NUVSqlToken::Kind::Literal && text.size() >= 2 &&
                                text.back() == '\'' && body.find('\'') == std::string_view::npos;
    if (!libraryLiteral) {
      piece += text;
      continue;
    }
    values_.emplace_back(general.DecodeBlanks(NUVUnicodeString(body)).View());
    withParameters_ += piece + "?";
    pieces_.push_back(std::move(piece));
    piece.clear();
  }
  withParameters_ += piece;
  pieces_.push_back(std::move(piece));
}

bool NUVSqlitePlainText::Inlined(std::string& text) const {
  text.clear();
  for (size_t i = 0; i < values_.size(); ++i) {
    if (values_[i].find('\0') != std::string::npos) return false;
    text += pieces_[i] + "'";
    for (const char c : values_[i]) text += c == '\'' ? std::string("''") : std::string(1, c);
    text += "'";
  }
  text += pieces_.back();
  return true;
}
