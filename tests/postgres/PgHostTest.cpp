#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "FinishedStatement.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVRef.h"
#include "PgScratch.h"

namespace {

// Each test's own schema on the throwaway server with the sample in it,
// its host installed as the session.
class PgHost : public testing::Test {
 protected:
  void SetUp() override {
    host = scratch.Host(true);
    ASSERT_NE(host, nullptr);
    host->Install();
  }
  std::string Row(const std::string& statement) { return Scalar(*host, statement, false); }

  PgScratch scratch;
  std::unique_ptr<NUVPostgresHost> host;
};

// Every server type the host reads, as the cell it becomes.
TEST_F(PgHost, ServerTypesBecomeTheirCells) {
  const std::pair<const char*, const char*> cases[] = {
      {"1::int2", "QUERY.v:1=1"},
      {"true", "QUERY.v:1=1"},
      {"false", "QUERY.v:1=0"},
      {"9007199254740993::int8", "QUERY.v:3=9007199254740993"},
      {"0.5::float4", "QUERY.v:16=0.5"},
      {"0.1::numeric", "QUERY.v:16=0.10000000000000001"},
      {"123456789012345678901234567890.5::numeric", "QUERY.v:3=123456789012345678901234567890.5"},
      {"'NaN'::numeric", "QUERY.v:3=NaN"},
      {"'x'::char(3)", "QUERY.v:3=x  "},
      {"'{\"a\": 1}'::json", "QUERY.v:3={\"a\": 1}"},
  };
  for (const auto& [expression, cell] : cases)
    EXPECT_EQ(Row(std::string("SELECT ") + expression + " AS v"), cell) << expression;
}

NUVBaseUnknown* Text(const char* name, const char* value) { return new NUVEdbSQLData(name, value, 0); }

// In plain mode the author's literals reach the server exactly as written,
// whatever they look like, typed ones included, and the values the library
// wrote are decoded and bound; a value the server cannot type a parameter
// for (after a type name, or with nothing to give it a type) is inlined.
TEST_F(PgHost, PlainTextsReachTheServerAsGiven) {
  const std::pair<std::string, const char*> cases[] = {
      {"SELECT $$a%20b$$ AS v", "QUERY.v:3=a%20b"},
      {"SELECT E'a\\'b' AS v", "QUERY.v:3=a'b"},
      {"SELECT U&'d\\0061t%20' AS v", "QUERY.v:3=dat%20"},
      {"SELECT 1::int4 AS \"it's\" -- 'x%20'", "QUERY.it's:1=1"},
      {FinishedStatement("SELECT :V /* nested /* 'x' */ still ' a comment */ AS v", {Text(":V", "a b")}),
       "QUERY.v:3=a b"},
      {FinishedStatement("SELECT (ARRAY[:V, 'c'])[1:1] AS v", {Text(":V", "a b")}), "QUERY.v:3={\"a b\"}"},
      {FinishedStatement("SELECT :X IS NULL AS v, :W AS w", {Text(":X", "x "), Text(":W", "a b")}),
       "QUERY.v:1=0 QUERY.w:3=a b"},
      {"SELECT DATE '2024-01-01' AS v, INTERVAL '1 day' AS i", "QUERY.v:3=2024-01-01 QUERY.i:3=1 day"},
      {FinishedStatement("SELECT TIMESTAMP :T AS v, :U AS u",
                         {Text(":T", "2024-01-01 10:00"), Text(":U", "a\\b")}),
       "QUERY.v:3=2024-01-01 10:00:00 QUERY.u:3=a\\b"},
  };
  for (const auto& [statement, cell] : cases) EXPECT_EQ(Row(statement), cell) << statement;
  // A write whose value cannot be typed runs again with it inlined.
  ASSERT_EQ(Row("CREATE TABLE NOTE (N TEXT)"), "<no row>");
  ASSERT_EQ(Row(FinishedStatement("INSERT INTO NOTE (N) SELECT :C WHERE :X IS NOT NULL",
                                  {Text(":C", "c d"), Text(":X", "x ")})),
            "<no row>");
  EXPECT_EQ(Row("SELECT N FROM NOTE"), "note.n:3=c d");
}

// In encoded mode literals go to the server as written and stored texts
// are read as encoded; the plain host reads the same rows as they are.
TEST_F(PgHost, EncodedModeKeepsTheLibrarysForm) {
  const auto encoded = scratch.Host(false, {.textMode = NUVHostTextMode::Encoded});
  ASSERT_NE(encoded, nullptr);
  ASSERT_EQ(Scalar(*encoded, "CREATE TABLE ETEXT (T TEXT)"), "<no row>");
  ASSERT_EQ(Scalar(*encoded, "INSERT INTO ETEXT VALUES ('O%27Neil%20%25')"), "<no row>");
  EXPECT_EQ(Scalar(*encoded, "SELECT T FROM ETEXT WHERE T = 'O%27Neil%20%25'", false), "etext.t:3=O'Neil %");
  EXPECT_EQ(Row("SELECT T FROM ETEXT"), "etext.t:3=O%27Neil%20%25");
}

// What the server cannot take is refused before anything runs.
TEST_F(PgHost, RefusesWhatMustNotRun) {
  const std::pair<std::string, const char*> cases[] = {
      {FinishedStatement("SELECT :Z",
                         {new NUVEdbSQLData(":Z", NUVUnicodeString(std::string_view("a\0b", 3)), 0)}),
       "a text value holds a zero byte, which the server cannot store"},
      {"COPY PART TO STDOUT", "COPY is not taken by this host"},
  };
  for (const auto& [statement, reason] : cases)
    EXPECT_NE(Row(statement).find(reason), std::string::npos) << statement;
}

// With standard_conforming_strings off for the session, every value (these,
// which would end a literal or start a comment or a second statement as
// they are, and the injection corpus) reads back as one literal, bound or
// inlined after a type name, and the table keeps its rows.
TEST_F(PgHost, EveryValueStaysOneLiteral) {
  std::vector<std::string> values = {"\\",          "\\'", "x\\';DELETE FROM PART;--", "$$", "$a$", "E'\\''",
                                     "line\nbreak", ""};
  for (const auto& entry : std::filesystem::directory_iterator(NUV_INJECTION_CORPUS)) {
    std::ifstream file(entry.path(), std::ios::binary);
    values.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  const auto old = Open(scratch.Conninfo() + " options='-c search_path=" + scratch.Schema() +
                        " -c standard_conforming_strings=off'");
  ASSERT_NE(old, nullptr);
  for (const std::string& value : values) {
    for (const char* pattern : {"SELECT :S AS v", "SELECT text :S AS v"}) {
      const std::string statement =
          FinishedStatement(pattern, {new NUVEdbSQLData(":S", NUVUnicodeString(value), 0)});
      EXPECT_EQ(Scalar(*old, statement), value) << statement;
    }
  }
  EXPECT_EQ(Scalar(*old, "SELECT count(*) FROM PART"), "8");
}

// A numeric key is the value's text exactly; text that is no number of the
// column's type names no row and is no failure.
TEST_F(PgHost, NumericKeysAreLookedUpByTheirExactText) {
  ASSERT_EQ(Row("CREATE TABLE NUMBERED (ID INTEGER PRIMARY KEY)"), "<no row>");
  ASSERT_EQ(Row("INSERT INTO NUMBERED VALUES (7), (12)"), "<no row>");
  const std::pair<const char*, bool> keys[] = {{"7", true},           {"12", true},  {"007", false},
                                               {"8", false},          {"x7", false}, {"7.0", false},
                                               {"99999999999", false}};
  for (const auto& [key, found] : keys) {
    NUVRef<NUVIEdbSysObject> numbered;
    EXPECT_EQ(host->Query()->GetObjectFromKey("NUMBERED", key, numbered.out()) >= 0, found) << key;
    EXPECT_EQ(numbered.get() != nullptr, found) << key;
  }
}

// A table made by another session after this one read the schema gives
// its name to the cells, whether the answer is read whole or streams in
// (the name is then asked on the second connection).
TEST_F(PgHost, TablesMadeElsewhereNameTheirCells) {
  const auto other = scratch.Host(false);
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(Scalar(*other, "CREATE TABLE LATE (K TEXT PRIMARY KEY)"), "<no row>");
  ASSERT_EQ(Scalar(*other, "INSERT INTO LATE VALUES ('k1'), ('k2')"), "<no row>");
  EXPECT_EQ(Row("SELECT K FROM LATE ORDER BY K"), "late.k:3=k1");
  std::vector<std::string> rows;
  ASSERT_GE(host->RunInBatches("SELECT K, 1 AS n FROM LATE ORDER BY K", 1,
                               [&](NUVEdbResultTable& batch) {
                                 rows.push_back(FirstRow(batch, false));
                                 return 0L;
                               }),
            0);
  EXPECT_EQ(rows, (std::vector<std::string>{"late.k:3=k1 QUERY.n:1=1", "late.k:3=k2 QUERY.n:1=1"}));
}

// The lines of the server's log that say the text.
int ServerLogLines(const std::string& text) {
  std::ifstream log(ServerFile("datadir") + "/server.log");
  int count = 0;
  for (std::string line; std::getline(log, line);) count += line.find(text) != std::string::npos;
  return count;
}

// A role whose password the server checks: the right password connects; a
// wrong one (with blanks and escapes too) or none fails as refused
// authentication, tried once, with no password in the message; a failure
// after the password was accepted is not named so.
TEST(PgConnection, PasswordCheckedRole) {
  const std::string conninfo = ServerFile("password-conninfo");
  const std::string password = ServerFile("password");
  ASSERT_FALSE(conninfo.empty() || password.empty()) << "the fixture's server has no password-checked role";
  const struct Case {
    std::string given;
    bool connects;
    bool refused;
    int tries;  // refusals the server logs
  } cases[] = {
      {" password=" + password, true, false, 0},
      {" password='Wr0ng Secret'", false, true, 1},
      {" password = 'Wr0ng\\'s'", false, true, 1},
      {" password=" + password + " dbname=nosuchdb", false, false, 0},
      {" passfile=/nonexistent", false, true, 0},  // none given: libpq stops before the server checks
  };
  const std::string logged = "password authentication failed for user \"nuvpw\"";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    const int before = ServerLogLines(logged);
    std::string message;
    const auto host = NUVPostgresHost::Open(conninfo + c.given, message);
    EXPECT_EQ(host != nullptr, c.connects) << message;
    EXPECT_EQ(message.find("authentication refused: ") != std::string::npos, c.refused) << message;
    EXPECT_EQ(message.find("Wr0ng"), std::string::npos) << message;
    EXPECT_EQ(message.find(password), std::string::npos) << message;
    EXPECT_EQ(ServerLogLines(logged) - before, c.tries);
  }
}

}  // namespace
