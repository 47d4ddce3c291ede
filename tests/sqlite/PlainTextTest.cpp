#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "NUVEdbSQLData.h"
#include "SqliteHostTest.h"

namespace {

std::string Hex(std::string_view text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const char c : text) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
  }
  return hex;
}

// A database file of its own, empty at the start: SQLite takes an empty
// file for an empty database.
class PlainText : public SqliteHost {
 protected:
  void SetUp() override {
    SqliteHost::SetUp();
    path_ = testing::TempDir() + "nuvplain" + std::to_string(getpid()) + ".sqlite";
    std::remove(path_.c_str());
  }
  void TearDown() override {
    host.reset();
    std::remove(path_.c_str());
  }
  void Open(const NUVSqliteOpenOptions& options = {}) {
    std::string message;
    host = NUVSqliteHost::OpenFile(path_, message, options);
    ASSERT_NE(host, nullptr) << message;
    host->Install();
  }
  void OpenEmpty() {
    std::ofstream{path_};
    Open();
  }
  std::string path_;
};

// The texts a user gives go into and come out of the database as they are,
// whatever characters they hold.
TEST_F(PlainText, ValuesAreStoredAndFoundAsGiven) {
  OpenEmpty();
  ASSERT_EQ(host->TextMode(), NUVSqliteTextMode::Plain);
  ASSERT_GE(Run("CREATE TABLE T (ID TEXT PRIMARY KEY, NAME TEXT)"), 0);
  const char* const values[] = {"Stainless steel", "100% sure", "O'Brien's", "Grüße, 東京", "%20", ""};
  int id = 0;
  for (const char* value : values) {
    const std::string key = "K" + std::to_string(++id);
    ASSERT_GE(Run(Finished("INSERT INTO T VALUES (:K, :V)",
                           {new NUVEdbSQLData(":K", key.c_str(), 0), new NUVEdbSQLData(":V", value, 0)})),
              0)
        << value;
    EXPECT_EQ(host->ChangedRows(), 1);
    EXPECT_EQ(Scalar("SELECT hex(NAME) FROM T WHERE ID = '" + key + "'"), Hex(value))
        << "stored as " << value;
    EXPECT_EQ(Scalar(Finished("SELECT NAME FROM T WHERE NAME = :V", {new NUVEdbSQLData(":V", value, 0)})),
              value);
  }
}

// Every literal the author wrote runs as written, however encoded it may
// look; a statement that takes no parameters gets the library's values as
// literals of their own.
TEST_F(PlainText, AuthorsLiteralsAndSchemaStatements) {
  OpenEmpty();
  ASSERT_GE(Run(Finished("CREATE TABLE T (A TEXT DEFAULT 'x%20y''s', B TEXT DEFAULT :B)",
                         {new NUVEdbSQLData(":B", "x y", 0)})),
            0);
  ASSERT_GE(Run("INSERT INTO T DEFAULT VALUES"), 0);
  EXPECT_EQ(Scalar("SELECT A || '|' || B FROM T"), "x%20y's|x y");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM T WHERE B = 'x y'"), "1");
}

// --init's file says it holds encoded texts; the caller may say otherwise.
TEST_F(PlainText, ModeFromTheFileOrTheCaller) {
  std::string message;
  ASSERT_TRUE(NUVSqliteHost::WriteSample(path_, message)) << message;
  const auto named = [] {
    return Finished("SELECT COUNT(*) FROM PART WHERE NAME = :N", {new NUVEdbSQLData(":N", "Drive gear", 0)});
  };
  Open();
  EXPECT_EQ(host->TextMode(), NUVSqliteTextMode::Encoded);
  EXPECT_EQ(Scalar(named()), "1");
  Open({NUVSqliteTextMode::Plain});
  EXPECT_EQ(host->TextMode(), NUVSqliteTextMode::Plain);
  EXPECT_EQ(Scalar(named()), "0");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM PART WHERE NAME LIKE 'Drive%20gear'"), "1");
}

}  // namespace
