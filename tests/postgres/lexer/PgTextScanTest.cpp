#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "FinishedStatement.h"
#include "NUVEdbSQLData.h"
#include "NUVHostWrittenText.h"
#include "NUVPgDialect.h"
#include "NUVPgTextScan.h"
#include "PgUnquoted.h"

namespace {

using Kind = NUVPgToken::Kind;

// The texts of the tokens of a kind, joined by "|".
std::string Tokens(std::string_view text, Kind kind) {
  std::string joined;
  for (const NUVPgToken& token : NUVPgScan(text)) {
    if (token.kind != kind) continue;
    if (!joined.empty()) joined += "|";
    joined += text.substr(token.begin, token.length);
  }
  return joined;
}

// Quotes, comment marks and parameter signs count only where the server
// reads them as such.
TEST(PgTextScan, TakesEachMarkForWhatTheServerReadsItAs) {
  const std::tuple<const char*, Kind, const char*> cases[] = {
      // Dollar quotes: nothing inside counts, a different tag neither.
      {"SELECT $$it's -- no /* no */$$, 1", Kind::Special, "$$it's -- no /* no */$$"},
      {"SELECT $a$ x $b$ ' $$ y $a$ || 'z'", Kind::Special, "$a$ x $b$ ' $$ y $a$"},
      {"SELECT $t1$a$t1$, $q$ open", Kind::Special, "$t1$a$t1$|$q$ open"},
      // $n is a parameter, a $ inside a word belongs to the word, a lone $
      // is a character of its own.
      {"SELECT $1, $23, a$b, $ 1", Kind::Parameter, "$1|$23"},
      {"SELECT $1, $23, a$b, $ 1", Kind::Identifier, "SELECT|a$b"},
      // A backslash escapes only in E'...'; a doubled apostrophe in either.
      {"SELECT E'it\\'s', e'a\\\\', E'x''y', 'b\\', 'c'", Kind::Special, "E'it\\'s'|e'a\\\\'|E'x''y'"},
      {"SELECT E'it\\'s', e'a\\\\', E'x''y', 'b\\', 'c'", Kind::Literal, "'b\\'|'c'"},
      {"SELECT 'it''s', ''''", Kind::Literal, "'it''s'|''''"},
      // Other prefixed strings, and a type name before a literal.
      {"SELECT B'101', x'1F', N'n', U&'d\\0061t', 'p'", Kind::Special, "B'101'|x'1F'|N'n'|U&'d\\0061t'"},
      {"SELECT DATE '2024-01-01', INTERVAL '1 day'", Kind::Literal, "'2024-01-01'|'1 day'"},
      // Comments nest; a line comment ends before its line break.
      {"SELECT 1 /* a /* b */ c */ + 2", Kind::Comment, "/* a /* b */ c */"},
      {"SELECT 1 /* a /* b */ c", Kind::Comment, "/* a /* b */ c"},
      {"SELECT 1 -- x'y\n+ 2 -- z", Kind::Comment, "-- x'y|-- z"},
      // Quoted names, with "" standing for one quote.
      {"SELECT \"a\"\"b\", \"it's\", U&\"d!0061t\" FROM t", Kind::Identifier,
       "SELECT|\"a\"\"b\"|\"it's\"|U&\"d!0061t\"|FROM|t"},
      {"SELECT \"open", Kind::Identifier, "SELECT|\"open"},
      {"SELECT 'open", Kind::Literal, "'open"},
      // :NAME is a parameter, a :: cast and an array slice's bounds are not.
      {"SELECT :NAME, a::int, b[1:n], c[d[1]:m], :x_1", Kind::Parameter, ":NAME|:x_1"},
      {"SELECT 1; SELECT 2", Kind::Semicolon, ";"},
  };
  for (const auto& [text, kind, expected] : cases)
    EXPECT_EQ(Tokens(text, kind), expected) << text << " (kind " << static_cast<int>(kind) << ")";
}

// The classes every host shares: a quoted name and any prefixed or dollar
// quoted string are quoted text, only '...' is a plain string literal.
TEST(PgTextScan, LexemesGiveTheSharedClasses) {
  const std::string text = "SELECT \"q\", w, 'l', E'e', $$d$$, $1, :p /* c */";
  const char letters[] = {'b', 'c', 's', 'q', 'w', 'o'};  // in the order of the classes
  std::string classes;
  for (const NUVHostLexeme& lexeme : NUVPgDialect().Lexemes(text)) {
    if (lexeme.kind == NUVHostLexeme::Class::Blank) continue;
    classes += letters[static_cast<int>(lexeme.kind)];
    classes += text.substr(lexeme.begin, lexeme.length) + " ";
  }
  EXPECT_EQ(classes, "wSELECT q\"q\" o, ww o, s'l' o, qE'e' o, q$$d$$ o, o$1 o, o:p c/* c */ ");
  EXPECT_EQ(NUVPgDialect().CountComments("SELECT /* a /* b */ */ 1 -- c\n"), 2u);
}

// A statement is taken as reading only when its first word says so
// for certain.
TEST(PgDialect, WritesUnlessTheFirstWordReads) {
  for (const char* reads :
       {"  select 1", "/* INSERT */ Values (1)", "-- DELETE\nTABLE part", "show search_path"})
    EXPECT_FALSE(NUVPgDialect().Writes(reads)) << reads;
  for (const char* writes :
       {"INSERT INTO t VALUES (1)", "WITH d AS (DELETE FROM t RETURNING *) SELECT * FROM d", "\"SELECT\"",
        "SELECTED", "$$SELECT$$", ""})
    EXPECT_TRUE(NUVPgDialect().Writes(writes)) << writes;
  EXPECT_EQ(NUVPgFirstWord("/* x */ update t", NUVPgScan("/* x */ update t")), "UPDATE");
  EXPECT_EQ(NUVPgFirstWord("-- x\n1 + 2", NUVPgScan("-- x\n1 + 2")), "");
}

// Any text becomes one literal that stands for exactly that text, with
// standard_conforming_strings on or off: a backslash is written only
// inside E'...'.
TEST(PgDialect, QuotedLiteralIsOneTokenOfTheValue) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "''"},           {"plain", "'plain'"},       {"it's", "'it''s'"}, {"a\\b", "E'a\\\\b'"},
      {"\\'", "E'\\\\'''"}, {"$$ -- /*", "'$$ -- /*'"},
  };
  for (const auto& [value, expected] : cases) {
    const std::string literal = NUVPgDialect().QuotedLiteral(value);
    EXPECT_EQ(literal, expected) << value;
    const std::vector<NUVPgToken> tokens = NUVPgScan("SELECT " + literal);
    ASSERT_EQ(tokens.size(), 3u) << literal;
    EXPECT_EQ(tokens[2].length, literal.size()) << literal;
    EXPECT_EQ(PgUnquoted(literal), value);
  }
}

// Texts the library did not finish run as written, unless they hold a
// second statement, a parameter no value replaced, or no statement.
TEST(PgPrepareText, RefusesWhatMustNotRun) {
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT 1; -- done\n;", ""},
      {"; SELECT 1", ""},
      {"SELECT $1", "the statement holds the parameter $1, which no value replaced"},
      {"SELECT a::int, b[1:n], ':NAME', $$:NAME$$, $a$ $1 $a$ FROM t", ""},
      {"SELECT 1 /* ; :NAME */", ""},
      {"-- SELECT", "the text holds no statement"},
  };
  for (const auto& [statement, problem] : cases) {
    for (const bool decode : {false, true}) {
      NUVHostWrittenText text(statement);
      const NUVPgStatementText prepared = NUVPgPrepareText(text, decode);
      EXPECT_EQ(prepared.problem, problem) << statement;
      EXPECT_EQ(prepared.withParameters, statement);
      EXPECT_EQ(prepared.inlined, statement);
      EXPECT_TRUE(prepared.values.empty()) << statement;
    }
  }
}

NUVBaseUnknown* Text(const char* name, const std::string& value) {
  return new NUVEdbSQLData(name, NUVUnicodeString(std::string_view(value)), 0);
}

// In plain mode the library's string values are bound as $1, $2..., except
// right after a type name, where the server takes no parameter: there, as
// in the inlined text, each is a literal of its own value. The author's
// literals stay as written.
TEST(PgPrepareText, BindsTheLibrarysValuesExceptTypedLiterals) {
  const std::string finished =
      FinishedStatement("SELECT 'a%20b', :N, DATE :D FROM t WHERE m = :M",
                        {Text(":N", "O'Neil \\"), Text(":D", "2024-01-01"), Text(":M", "x y")});
  NUVHostWrittenText text(finished);
  NUVPgStatementText plain = NUVPgPrepareText(text, true);
  EXPECT_EQ(plain.problem, "");
  EXPECT_EQ(plain.firstWord, "SELECT");
  EXPECT_EQ(plain.withParameters, "SELECT 'a%20b', $1, DATE '2024-01-01' FROM t WHERE m = $2");
  EXPECT_EQ(plain.values, (std::vector<std::string>{"O'Neil \\", "x y"}));
  EXPECT_EQ(plain.inlined, "SELECT 'a%20b', E'O''Neil \\\\', DATE '2024-01-01' FROM t WHERE m = 'x y'");

  NUVHostWrittenText again(finished);
  const NUVPgStatementText encoded = NUVPgPrepareText(again, false);
  EXPECT_EQ(encoded.problem, "");
  EXPECT_EQ(encoded.withParameters, finished);
  EXPECT_TRUE(encoded.values.empty());
}

}  // namespace
