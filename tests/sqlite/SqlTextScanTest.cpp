#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "NUVSqlTextScan.h"

namespace {

// The texts of the tokens of a kind, joined by "|".
std::string Tokens(std::string_view text, NUVSqlToken::Kind kind) {
  std::string joined;
  for (const NUVSqlToken& token : NUVSqlTextScan::Scan(text)) {
    if (token.kind != kind) continue;
    if (!joined.empty()) joined += "|";
    joined += text.substr(token.begin, token.length);
  }
  return joined;
}

using Kind = NUVSqlToken::Kind;

// Quotes, comment marks and parameter signs count only where SQLite reads
// them as such.
TEST(SqlTextScan, TakesEachMarkForWhatSqliteReadsItAs) {
  const std::tuple<const char*, Kind, const char*> cases[] = {
      {"SELECT 'a--b', \"c'd\" -- e'f\n", Kind::Literal, "'a--b'"},
      {"SELECT 'a--b', \"c'd\" -- e'f\n", Kind::Comment, "-- e'f"},
      {"SELECT 'it''s' /* ' */ || ''''", Kind::Literal, "'it''s'|''''"},
      {"SELECT X'CAFE', x'00', 'x'", Kind::Blob, "X'CAFE'|x'00'"},
      {"SELECT [a'b], `c\"d`, \"e\"\"f\"", Kind::Identifier, "SELECT|[a'b]|`c\"d`|\"e\"\"f\""},
      {"SELECT :a, ?, ?12, @b, $c, ':d', a:b", Kind::Parameter, ":a|?|?12|@b|$c|:b"},
      {"SELECT 10--5", Kind::Comment, "--5"},
      {"SELECT 1e-5, 10 - -5, 2/*x", Kind::Comment, "/*x"},
      {"SELECT 'open", Kind::Literal, "'open"},
      {"SELECT 1e-5-1", Kind::Comment, ""},
  };
  for (const auto& [text, kind, expected] : cases) EXPECT_EQ(Tokens(text, kind), expected) << text;
}

TEST(SqlTextScan, EveryByteBelongsToOneToken) {
  const std::string text = "SELECT a.b, 'x' FROM t WHERE c = :d -- e\n/* f */ [g";
  size_t next = 0;
  for (const NUVSqlToken& token : NUVSqlTextScan::Scan(text)) {
    EXPECT_EQ(token.begin, next);
    EXPECT_GT(token.length, 0u);
    next = token.begin + token.length;
  }
  EXPECT_EQ(next, text.size());
}

}  // namespace
