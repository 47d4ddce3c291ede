// The server's lexical scan: every byte belongs to exactly one token,
// tokens are not empty, each token starts as its kind must and a closed
// comment or literal ends with its closing mark; the input quoted as a
// literal of the server's stands as one token that reads back as the input.
#include "FuzzCheck.h"
#include "NUVPgDialect.h"
#include "NUVPgTextScan.h"
#include "PgUnquoted.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = FuzzText(data, size);
  const std::vector<NUVPgToken> tokens = NUVPgScan(text);
  size_t next = 0;
  for (const NUVPgToken& token : tokens) {
    FUZZ_CHECK(token.begin == next && token.length > 0);
    const std::string_view piece = text.substr(token.begin, token.length);
    const bool last = token.begin + token.length == text.size();
    switch (token.kind) {
      case NUVPgToken::Kind::Literal:
        FUZZ_CHECK(piece.front() == '\'' && (last || (piece.size() >= 2 && piece.back() == '\'')));
        break;
      case NUVPgToken::Kind::Comment:
        if (piece.starts_with("--")) {
          FUZZ_CHECK(piece.find('\n') == std::string_view::npos);
        } else {
          FUZZ_CHECK(piece.starts_with("/*") && (last || (piece.size() >= 4 && piece.ends_with("*/"))));
        }
        break;
      case NUVPgToken::Kind::Special:
        FUZZ_CHECK(piece.front() == '$' || piece.substr(1, 1) == "'" || piece.starts_with("U&") ||
                   piece.starts_with("u&"));
        break;
      case NUVPgToken::Kind::Parameter:
        FUZZ_CHECK((piece.front() == '$' || piece.front() == ':') && piece.size() > 1);
        break;
      case NUVPgToken::Kind::Semicolon:
        FUZZ_CHECK(piece == ";");
        break;
      default:
        break;
    }
    next = token.begin + token.length;
  }
  FUZZ_CHECK(next == text.size());
  FUZZ_CHECK(NUVPgLexemes(text, tokens).size() == tokens.size());

  const std::string literal = NUVPgDialect().QuotedLiteral(text);
  const std::vector<NUVPgToken> quoted = NUVPgScan("SELECT " + literal);
  FUZZ_CHECK(quoted.size() == 3 && quoted[2].length == literal.size());
  FUZZ_CHECK(PgUnquoted(literal) == text);
  return 0;
}
