#include "NUVSqlitePlainText.h"

#include "NUVHostLiteral.h"
#include "NUVSqlTextScan.h"

NUVSqlitePlainText::NUVSqlitePlainText(std::string_view statement) {
  std::string piece;
  for (const NUVSqlToken& token : NUVSqlTextScan::Scan(statement)) {
    const std::string_view text = statement.substr(token.begin, token.length);
    std::string value;
    if (token.kind != NUVSqlToken::Kind::Literal || !nuvhost::LibraryLiteralValue(text, value)) {
      piece += text;
      continue;
    }
    values_.push_back(std::move(value));
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
    text += pieces_[i] + nuvhost::SqlLiteral(values_[i]);
  }
  text += pieces_.back();
  return true;
}
