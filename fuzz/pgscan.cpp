// The server's lexical scan: every byte belongs to exactly one token,
// tokens are not empty, each token starts as its kind must and a closed
// comment or literal ends with its closing mark; the input quoted as a
// literal of the server's stands as one token that reads back as the input.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "NUVPgDialect.h"
#include "NUVPgTextScan.h"
#include "PgUnquoted.h"

namespace {

using Kind = NUVPgToken::Kind;

bool StartsWith(std::string_view piece, std::string_view start) {
  return piece.substr(0, start.size()) == start;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<NUVPgToken> tokens = NUVPgScan(text);
  size_t next = 0;
  for (const NUVPgToken& token : tokens) {
    FUZZ_CHECK(token.begin == next && token.length > 0);
    const std::string_view piece = text.substr(token.begin, token.length);
    const bool last = token.begin + token.length == text.size();
    switch (token.kind) {
      case Kind::Literal:
        FUZZ_CHECK(piece.front() == '\'');
        FUZZ_CHECK(last || (piece.size() >= 2 && piece.back() == '\''));
        break;
      case Kind::Comment:
        FUZZ_CHECK(StartsWith(piece, "--") || StartsWith(piece, "/*"));
        if (StartsWith(piece, "--")) FUZZ_CHECK(piece.find('\n') == std::string_view::npos);
        if (StartsWith(piece, "/*"))
          FUZZ_CHECK(last || (piece.size() >= 4 && piece.substr(piece.size() - 2) == "*/"));
        break;
      case Kind::Special:
        FUZZ_CHECK(piece.front() == '$' || piece.substr(1, 1) == "'" || StartsWith(piece, "U&") ||
                   StartsWith(piece, "u&"));
        break;
      case Kind::Parameter:
        FUZZ_CHECK(piece.front() == '$' || piece.front() == ':');
        FUZZ_CHECK(piece.size() > 1);
        break;
      case Kind::Semicolon:
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
