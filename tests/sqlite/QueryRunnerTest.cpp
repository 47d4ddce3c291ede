#include <unistd.h>

#include <cstdio>
#include <tuple>

#include "NUVEdbResultTabHdr.h"
#include "SqliteHostTest.h"

namespace {

using QueryRunner = SqliteHost;

// Text in the encoded form is kept as it is; other text, such as one with a
// raw '%' or blank, is taken as it reads and encoded anew.
TEST_F(QueryRunner, StoredTextComesOutAsItReads) {
  const std::tuple<const char*, const char*, const char*> cases[] = {{"a%20b", "a%20b", "a b"},
                                                                     {"a b", "a%20b", "a b"},
                                                                     {"100%", "100%25", "100%"},
                                                                     {"%41 %25", "%2541%20%2525", "%41 %25"}};
  for (const auto& [literal, stored, decoded] : cases) {
    ASSERT_GE(Run(std::string("SELECT '") + literal + "'"), 0) << literal;
    EXPECT_EQ(Row(1, true, 0), stored) << literal;
    EXPECT_EQ(Row(1, true, 1), decoded) << literal;
  }
}

// The host refuses a text without a statement, and names a parameter left
// in the finished statement, which would be bound as NULL. Parameter-like
// text inside literals, comments and quoted names is no parameter, and a
// comment after the one statement no second statement.
TEST_F(QueryRunner, RefusesTextsThatWouldNotRunAsWritten) {
  const std::pair<const char*, const char*> refused[] = {
      {"", "no statement"},           {"SELECT ?", "parameter ?,"},   {"SELECT ?12", "parameter ?12,"},
      {"SELECT @x", "parameter @x,"}, {"SELECT $x", "parameter $x,"},
  };
  for (const auto& [statement, reason] : refused) {
    const std::string refusal = Refusal(statement);
    EXPECT_NE(refusal.find(reason), std::string::npos) << statement << ": " << refusal;
  }
  EXPECT_EQ(Scalar("SELECT ':a' || \"?\" || [@b] FROM (SELECT 1 AS \"?\", 2 AS [@b]) -- :c\n/* $d */"),
            ":a12");
  EXPECT_GE(Run("SELECT 1; -- a comment"), 0);
}

// Under a string header a number reads as SQLite writes it as text, not
// as the double's longest form; a header names a column only when written
// exactly as the column is named; any other column carries its own table.
TEST_F(QueryRunner, StringHeadersAndColumnClasses) {
  OwnedList headers{new NUVEdbResultTabHdr("PART", "S", EdbTypeString),
                    new NUVEdbResultTabHdr("DOCUMENT", "qty", EdbTypeString)};
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT 0.1 AS S", "PART.S:3=0.1"},
      {"SELECT 2.0 AS S", "PART.S:3=2.0"},
      {"SELECT 1e20 AS S", "PART.S:3=1.0e+20"},
      {"SELECT -3000000000 AS S", "PART.S:3=-3000000000"},
      {"SELECT QTY FROM PART WHERE ID = 'P1'", "PART.QTY:1=1"},
      {"SELECT P.NAME AS PARTNAME, R.NAME FROM PART P JOIN PRODUCT R ON R.ID = P.PRODUCT WHERE P.ID = 'P2'",
       "PART.PARTNAME:3=Drive gear PRODUCT.NAME:3=Gear pump GP-40"},
  };
  for (const auto& [statement, row] : cases) {
    ASSERT_GE(Run(statement, &headers.get()), 0) << statement;
    EXPECT_EQ(Row(1), row) << statement;
  }
}

// A write whose savepoint cannot be released (another connection is still
// reading the file) fails and is undone: it neither reports success nor
// leaves a transaction open that would hold back later writes.
TEST_F(QueryRunner, AWriteThatCannotCommitFailsAndIsUndone) {
  const std::string path = testing::TempDir() + "nuvcommit" + std::to_string(getpid()) + ".sqlite";
  std::remove(path.c_str());
  std::string message;
  ASSERT_TRUE(NUVSqliteHost::WriteSample(path, message)) << message;
  auto reader = NUVSqliteHost::OpenFile(path, message);
  host = NUVSqliteHost::OpenFile(path, message, {std::nullopt, false, 0});
  ASSERT_TRUE(reader && host) << message;
  host->Install();
  std::string whileReading;
  const long read = reader->RunInBatches("SELECT ID FROM PART", 1, [&](NUVEdbResultTable&) {
    if (whileReading.empty()) whileReading = Refusal("UPDATE PART SET QTY = 7 WHERE ID = 'P1'");
    return NUV_S_OK;
  });
  EXPECT_GE(read, 0);
  EXPECT_NE(whileReading.find("locked"), std::string::npos) << whileReading;
  ASSERT_GE(Run("UPDATE PART SET QTY = 8 WHERE ID = 'P2'"), 0);
  std::swap(host, reader);  // what another connection sees: the later write alone
  EXPECT_EQ(
      Scalar(
          "SELECT group_concat(QTY, ' ') FROM (SELECT QTY FROM PART WHERE ID IN ('P1', 'P2') ORDER BY ID)"),
      "1 8");
  host.reset();
  reader.reset();
  std::remove(path.c_str());
}

}  // namespace
