// Every way a statement can fail on the server gives its kind and SQLSTATE:
// a program acts on the kind, never on the message.
#include <gtest/gtest.h>

#include <string>

#include "CuttingRelay.h"
#include "NUVEdbResultTable.h"
#include "NUVHostFailure.h"
#include "PgScratch.h"
#include "ProcessRun.h"

namespace {

using Kind = NUVHostFailureKind;

// Each on a host of its own, opened with the options, as the host and the
// failure code's record both say; the host runs the next statement as usual.
TEST(PgFailureKinds, EachFailureGivesItsKindAndSqlstate) {
  PgScratch scratch;
  const struct {
    const char* statement;
    Kind kind;
    const char* sqlstate;
    NUVPostgresOpenOptions options = {};
  } cases[] = {
      {"SELECT * FROM NOSUCH", Kind::StatementFailed, "42P01"},
      {"SELECT 1/0", Kind::StatementFailed, "22012"},
      {"DO $$ BEGIN RAISE EXCEPTION 'conflict' USING ERRCODE = '40001'; END $$", Kind::Retryable, "40001"},
      {"DO $$ BEGIN RAISE EXCEPTION 'cycle' USING ERRCODE = '40P01'; END $$", Kind::Retryable, "40P01"},
      {"DO $$ BEGIN RAISE EXCEPTION 'locked' USING ERRCODE = '55P03'; END $$", Kind::Timeout, "55P03"},
      {"SELECT pg_sleep(5)", Kind::Timeout, "57014", {.statementTimeoutMs = 100}},
      {"CREATE TABLE NOPE (A INT)", Kind::ReadOnly, "25006", {.readOnly = true}},
  };
  for (const auto& c : cases) {
    const auto host = scratch.Host(false, c.options);
    ASSERT_NE(host, nullptr);
    NUVEdbResultTable none;
    const NUVHostFailure recorded = NUVHostFailureOf(host->Run(c.statement, none));
    for (const NUVHostFailure& failure : {host->LastFailure(), recorded}) {
      EXPECT_EQ(failure.kind, c.kind) << c.statement << ": " << failure.message;
      EXPECT_EQ(failure.sqlstate, c.sqlstate) << c.statement;
    }
    EXPECT_EQ(Scalar(*host, "SELECT 1"), "1");
    EXPECT_FALSE(host->LastFailure().Failed());
  }
}

// A commit whose answer a relay cuts once the server has answered COMMIT:
// the host settles it on a new connection, or says it is in doubt when it
// cannot reach the server again; edbquery exits 0 for the one, 5 for the
// other.
TEST(PgCommitSettle, AnswerLostAfterTheCommit) {
  PgScratch scratch;
  const auto direct = scratch.Host(false);
  ASSERT_NE(direct, nullptr);
  ASSERT_EQ(Scalar(*direct, "CREATE TABLE SETTLED (ID INT)"), "<no row>");
  const std::string& conninfo = scratch.Conninfo();
  int inserts = 0;
  for (const bool reachable : {true, false}) {
    SCOPED_TRACE(reachable ? "reachable again" : "cut for good");
    CuttingRelay relay(Keyword(conninfo, "host"), Keyword(conninfo, "port"), !reachable);
    // The relay that stays cut is not tried for long.
    auto host = Open(ViaRelay(conninfo, relay), {.failoverTimeoutMs = 500});
    ASSERT_NE(host, nullptr);
    NUVEdbResultTable none;
    const long code = host->Run("INSERT INTO SETTLED VALUES (1)", none);
    ++inserts;
    EXPECT_TRUE(relay.Cut());
    if (reachable) {
      // Asked again on a new connection, the server says it committed.
      EXPECT_GE(code, 0) << host->LastFailure().message;
      EXPECT_EQ(host->ChangedRows(), 1);
    } else {
      EXPECT_LT(code, 0);
      EXPECT_EQ(host->LastFailure().kind, Kind::CommitUnknown) << host->LastFailure().message;
    }
#ifdef EDBQUERY_PATH
    CuttingRelay again(Keyword(conninfo, "host"), Keyword(conninfo, "port"), !reachable);
    const ProcessOutcome run = RunProcess(
        EDBQUERY_PATH,
        {"--failover-timeout", "500", "--db", ViaRelay(conninfo, again), "INSERT INTO SETTLED VALUES (1)"});
    ++inserts;
    EXPECT_EQ(run.exitCode, reachable ? 0 : 5) << run.err;
#endif
  }
  // Every insert committed: the answer was lost after the commit each time.
  EXPECT_EQ(Scalar(*direct, "SELECT count(*) FROM SETTLED"), std::to_string(inserts));
}

}  // namespace
