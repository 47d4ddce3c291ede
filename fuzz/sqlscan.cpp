// The lexical scan of SQL texts: every byte belongs to exactly one token,
// tokens are not empty, and each token starts as its kind must.
#include "FuzzCheck.h"
#include "NUVSqlTextScan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = FuzzText(data, size);
  size_t next = 0;
  for (const NUVSqlToken& token : NUVSqlTextScan::Scan(text)) {
    FUZZ_CHECK(token.begin == next && token.length > 0);
    const std::string_view piece = text.substr(token.begin, token.length);
    switch (token.kind) {
      case NUVSqlToken::Kind::Literal:
        FUZZ_CHECK(piece.front() == '\'');
        break;
      case NUVSqlToken::Kind::Comment:
        FUZZ_CHECK(piece.starts_with("--") || piece.starts_with("/*"));
        break;
      case NUVSqlToken::Kind::Parameter:
        FUZZ_CHECK(std::string_view("?:@$").find(piece.front()) != std::string_view::npos);
        break;
      default:
        break;
    }
    next = token.begin + token.length;
  }
  FUZZ_CHECK(next == text.size());
  return 0;
}
