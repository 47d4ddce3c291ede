// What every host does with the values the library wrote into a statement
// and with the literals the statement's author wrote: the author's run as
// written, the library's keep their shape or the statement is refused.
#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "FinishedStatement.h"
#include "HostRunner.h"
#include "NUVEdbSQLData.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVRawCollint.h"
#include "NUVRef.h"

namespace {

NUVBaseUnknown* Text(const char* name, const std::string& value) {
  return new NUVEdbSQLData(name, NUVUnicodeString(std::string_view(value)), 0);
}
NUVBaseUnknown* Texts(std::initializer_list<const char*> names, std::initializer_list<const char*> values,
                      const char* condition) {
  return new NUVEdbSQLData(::Texts(names), ::Texts(values), condition);
}

// A string value, or a list, whose name the author put inside a literal, a
// quoted name or a comment would change the statement's shape: refused
// before anything runs, naming the parameter. Keys obey the key rule and
// may stand in quotes.
TEST_P(HostSuite, ValuesThatWouldChangeTheStatementAreRefused) {
  NUV_NEEDS_STATEMENTS();
  ASSERT_EQ(run.Refusal("CREATE TABLE W (ID INTEGER PRIMARY KEY, NAME TEXT)"), "");
  ASSERT_EQ(run.Refusal("INSERT INTO W VALUES (1, 'a'), (2, 'b'), (3, 'NAME')"), "");
  // Each statement with the name its refusal gives.
  std::vector<std::pair<std::string, const char*>> cases = {
      {FinishedStatement("DELETE FROM W WHERE NAME = ':N'", {Text(":N", "||NAME||")}), ":N"},
      {FinishedStatement("SELECT ':N' || (SELECT 1)", {Text(":N", "||(SELECT NAME FROM W)||")}), ":N"},
      {FinishedStatement("SELECT \":N\" FROM W", {Text(":N", "x")}), ":N"},
      {FinishedStatement("SELECT 1 /* :N */", {Text(":N", "*/ 2 /*")}), ":N"},
      {FinishedStatement("SELECT 1 -- :N", {Text(":N", "x")}), ":N"},
      {FinishedStatement("SELECT X:N", {Text(":N", "41")}), ":N"},
      {FinishedStatement("SELECT ID FROM W WHERE NAME IN (':A', ':B')",
                         {Texts({":A", ":B"}, {"a", "b"}, "")}),
       ":A"},
      {FinishedStatement("SELECT ID FROM W WHERE 'NAME='", {Texts({"NAME="}, {"a", "b"}, "OR")}), "NAME="},
      {FinishedStatement("SELECT ID FROM W WHERE ID IN (':A', 2)",
                         {new NUVEdbSQLData(::Texts({":A"}), Values<NUVRawCollint>({1}), "")}),
       ":A"},
      {FinishedStatement("SELECT 1 -:N", {new NUVEdbSQLData(":N", -5)}), ":N"},
      // A later name that takes the end of a value written before with it.
      {FinishedStatement("SELECT :A ", {Text(":A", "ab"), new NUVEdbSQLData("b' ", 5)}), ":A"},
  };
  if (host->DollarQuotes()) {
    cases.push_back({FinishedStatement("SELECT $$:N$$", {Text(":N", "x")}), ":N"});
    cases.push_back({FinishedStatement("SELECT E:N", {Text(":N", "x")}), ":N"});
  }
  for (const auto& [statement, named] : cases) {
    const std::string answer = run.LastValues(statement);
    EXPECT_EQ(answer.rfind("<refused: ", 0), 0u) << statement << " gave " << answer;
    EXPECT_NE(answer.find(named), std::string::npos) << statement << " gave " << answer;
  }
  EXPECT_EQ(run.LastValues("SELECT COUNT(*) FROM W"), "3");
  // What stays allowed: a key in the author's quotes, a value beside the
  // author's literals, a negative number apart from a '-'.
  NUVRef<NUVIEdbSysObject> part;
  ASSERT_GE(host->Query()->GetObjectFromKey("PART", "P1", part.out()), 0);
  EXPECT_EQ(run.LastValues(FinishedStatement("SELECT ':K' || 'x'", {new NUVEdbSQLData(":K", part.get())})),
            "P1x");
  EXPECT_EQ(run.LastValues(FinishedStatement("SELECT ':' || :N || ''''", {Text(":N", "it's")})), ":it's'");
  EXPECT_EQ(run.LastValues(FinishedStatement("SELECT 1 - :N", {new NUVEdbSQLData(":N", -5)})), "6");
}

// Values a host writes into the text itself, for statements that take no
// parameters (a column's default, a view), keep their apostrophes; a
// quoted name holding a double quote names its table in every statement
// the host makes.
TEST_P(HostSuite, ValuesInSchemaStatementsAndQuotedNames) {
  NUV_NEEDS_STATEMENTS();
  const std::string value = "it's %20 \"q\" \\";
  ASSERT_EQ(
      run.Refusal(FinishedStatement(
          "CREATE TABLE \"we\"\"ird\" (K VARCHAR(8) PRIMARY KEY, D TEXT DEFAULT :V)", {Text(":V", value)})),
      "");
  ASSERT_EQ(run.Refusal(FinishedStatement("CREATE VIEW V AS SELECT :V AS X", {Text(":V", value)})), "");
  ASSERT_EQ(run.Refusal("INSERT INTO \"we\"\"ird\" (K) VALUES ('k1')"), "");
  EXPECT_EQ(run.LastValues("SELECT D FROM \"we\"\"ird\""), value);
  EXPECT_EQ(run.LastValues("SELECT X FROM V"), value);
  NUVRef<NUVIEdbSysObject> object;
  EXPECT_GE(host->Query()->GetObjectFromKey("we\"ird", "k1", object.out()), 0);
  EXPECT_NE(object.get(), nullptr);
  EXPECT_LT(host->Query()->GetObjectFromKey("we\"ird", "k2", object.out()), 0);
}

// A value written by the library into a statement with author's literals
// that hold %-sequences, apostrophes and blanks: the host gives what the
// same statement gives with its values bound directly, which is each
// literal's own text and each value as given. Generated statements, the
// same every run.
TEST_P(HostSuite, AuthorsLiteralsAndLibraryValuesMixAsBound) {
  NUV_NEEDS_STATEMENTS();
  if (!host->PlainTexts()) GTEST_SKIP() << "the database keeps encoded texts";
  std::mt19937 random(20261207);
  const std::string pieces[] = {"a", "%20", "%27", "%25", "%", "'", " ", "b", "%2", "x%", "\xC3\xA4", ":"};
  const auto text = [&] {
    std::string made;
    for (int n = std::uniform_int_distribution<int>(0, 5)(random); n > 0; --n)
      made += pieces[std::uniform_int_distribution<size_t>(0, std::size(pieces) - 1)(random)];
    return made;
  };
  // The author's literal of a text, apostrophes doubled.
  const auto literal = [](const std::string& value) {
    std::string written = "'";
    for (const char ch : value) written += ch == '\'' ? std::string("''") : std::string(1, ch);
    return written + "'";
  };
  for (int round = 0; round < 60; ++round) {
    std::string statement = "SELECT ";
    std::string expected;               // the values joined by " "
    std::vector<NUVBaseUnknown*> made;  // adopted by the list once shuffled
    const int columns = std::uniform_int_distribution<int>(1, 5)(random);
    for (int c = 0; c < columns; ++c) {
      if (c > 0) statement += ", ", expected += " ";
      const std::string value = text();
      const std::string name = ":P" + std::to_string(c);
      if (std::uniform_int_distribution<int>(0, 1)(random) == 0) {  // the author's literal alone
        statement += literal(value);
        expected += value;
      } else {  // the author's literal joined to a value the library writes
        const std::string bound = text();
        statement += "(" + literal(value) + " || " + name + ")";
        made.push_back(Text(name.c_str(), bound));
        expected += value + bound;
      }
      statement += " AS C" + std::to_string(c);
    }
    // In any order: a value written before its left neighbours moves along.
    std::shuffle(made.begin(), made.end(), random);
    OwnedList parameters;
    for (NUVBaseUnknown* parameter : made) parameters.Adopt(parameter);
    NUVUnicodeString finished;
    ASSERT_GE(NUVEdbBrokerTool().PreProcessSQLStatement(statement.c_str(), parameters.get(), finished), 0);
    EXPECT_EQ(run.LastValues(std::string(finished.View())), expected)
        << statement << " finished as " << finished.View();
  }
}

}  // namespace
