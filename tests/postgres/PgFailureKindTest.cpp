// Every way a statement can fail on the server gives its kind and SQLSTATE,
// each caused for real: a program acts on the kind, never on the message.
#include <gtest/gtest.h>

#include <string>

#include "NUVEdbResultTable.h"
#include "NUVHostFailure.h"
#include "PgScratch.h"

namespace {

using Kind = NUVHostFailureKind;

// The failure the statement ends with on the host, and the code's record
// agreeing with the host's.
NUVHostFailure FailureOf(NUVPostgresHost& host, const std::string& statement) {
  NUVEdbResultTable table;
  const long code = host.Run(statement.c_str(), table);
  const NUVHostFailure recorded = NUVHostFailureOf(code);
  EXPECT_EQ(recorded.kind, host.LastFailure().kind) << statement;
  EXPECT_EQ(recorded.sqlstate, host.LastFailure().sqlstate) << statement;
  return host.LastFailure();
}

TEST(PgFailureKinds, EachFailureGivesItsKindAndSqlstate) {
  PgScratch scratch;
  auto host = scratch.Host(false);
  ASSERT_NE(host, nullptr);
  const struct {
    const char* statement;
    Kind kind;
    const char* sqlstate;
  } cases[] = {
      {"SELECT * FROM NOSUCH", Kind::StatementFailed, "42P01"},
      {"SELECT 1/0", Kind::StatementFailed, "22012"},
      {"DO $$ BEGIN RAISE EXCEPTION 'conflict' USING ERRCODE = '40001'; END $$", Kind::Retryable, "40001"},
      {"DO $$ BEGIN RAISE EXCEPTION 'cycle' USING ERRCODE = '40P01'; END $$", Kind::Retryable, "40P01"},
      {"SELECT 1; SELECT 2", Kind::StatementFailed, ""},
  };
  for (const auto& c : cases) {
    const NUVHostFailure failure = FailureOf(*host, c.statement);
    EXPECT_EQ(failure.kind, c.kind) << c.statement << ": " << failure.message;
    EXPECT_EQ(failure.sqlstate, c.sqlstate) << c.statement;
  }
  NUVEdbResultTable table;
  EXPECT_GE(host->Run("SELECT 1", table), 0);
  EXPECT_FALSE(host->LastFailure().Failed());
}

TEST(PgFailureKinds, TimeoutAndReadOnly) {
  PgScratch scratch;
  NUVPostgresOpenOptions timed;
  timed.statementTimeoutMs = 100;
  auto host = scratch.Host(false, timed);
  ASSERT_NE(host, nullptr);
  const NUVHostFailure timeout = FailureOf(*host, "SELECT pg_sleep(5)");
  EXPECT_EQ(timeout.kind, Kind::Timeout) << timeout.message;
  EXPECT_EQ(timeout.sqlstate, "57014");
  NUVPostgresOpenOptions reading;
  reading.readOnly = true;
  auto reader = scratch.Host(false, reading);
  ASSERT_NE(reader, nullptr);
  const NUVHostFailure readOnly = FailureOf(*reader, "CREATE TABLE NOPE (A INT)");
  EXPECT_EQ(readOnly.kind, Kind::ReadOnly) << readOnly.message;
  EXPECT_EQ(readOnly.sqlstate, "25006");
}

// A write whose connection dies before its commit is sent applied nothing:
// the connection's kind. One whose connection dies during its commit is
// settled on a new connection: here the server ended the transaction
// before committing it, so nothing was applied either.
TEST(PgFailureKinds, LostConnectionBeforeAndDuringCommit) {
  PgScratch scratch;
  auto host = scratch.Host(false);
  ASSERT_NE(host, nullptr);
  NUVEdbResultTable none;
  ASSERT_GE(host->Run("CREATE TABLE LOST (ID INT)", none), 0);
  const NUVHostFailure lost =
      FailureOf(*host, "INSERT INTO LOST SELECT 1 FROM pg_terminate_backend(pg_backend_pid())");
  EXPECT_EQ(lost.kind, Kind::Unreachable) << lost.message;
  EXPECT_EQ(RowCount(*host, "SELECT * FROM LOST"), 0);  // the host reconnects for the next statement

  ASSERT_GE(host->Run("CREATE TABLE DOUBT (ID INT)", none), 0);
  ASSERT_GE(host->Run("CREATE FUNCTION END_AT_COMMIT() RETURNS trigger LANGUAGE plpgsql AS "
                      "$$ BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NULL; END $$",
                      none),
            0);
  ASSERT_GE(host->Run("CREATE CONSTRAINT TRIGGER DOUBT_END AFTER INSERT ON DOUBT DEFERRABLE INITIALLY "
                      "DEFERRED FOR EACH ROW EXECUTE FUNCTION END_AT_COMMIT()",
                      none),
            0);
  const NUVHostFailure settled = FailureOf(*host, "INSERT INTO DOUBT VALUES (1)");
  EXPECT_EQ(settled.kind, Kind::Unreachable) << settled.message;
  EXPECT_NE(settled.message.find("during the commit, which did not apply"), std::string::npos) << settled.message;
  EXPECT_EQ(RowCount(*host, "SELECT * FROM DOUBT"), 0);
}

}  // namespace
