// Reads on the standby when asked: reading statements run there, writing
// ones on the primary, and a read after a write sees the write, on the
// standby once replayed and on the primary while it lags; through edbquery
// too, whose run without a primary fails once --failover-timeout passed.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Cluster.h"
#include "ProcessRun.h"

namespace {

// Where a statement of the host ran (1 on the standby, 0 on the primary),
// with the rows the host's table holds there.
std::string CountWhere(NUVHost& host, const std::string& table) {
  return Scalar(host, "SELECT count(*)::int, pg_is_in_recovery() FROM " + table);
}

TEST_F(Replication, ReadsRunOnTheStandbyAndWritesOnThePrimaryWhenAsked) {
  const struct {
    const char* name;
    std::string conninfo;
    NUVPostgresOpenOptions options;
  } cases[] = {
      {"option", Cluster::Conninfo(), {.readsOnStandby = true}},
      {"standby preferred in the string", Cluster::Conninfo() + " target_session_attrs=prefer-standby", {}},
  };
  int rows = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto host = Open(c.conninfo, c.options);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(CountWhere(*host, table), std::to_string(rows) + " 1");
    EXPECT_EQ(Scalar(*host, Insert(++rows)), "<no row>");
    EXPECT_EQ(CountWhere(*host, table), std::to_string(rows) + " 1");
    // A read that the standby refuses as a write (it locks rows) runs on
    // the primary.
    EXPECT_EQ(CountWhere(*host, "(SELECT k FROM " + table + " FOR UPDATE) AS locked"),
              std::to_string(rows) + " 0");
  }
}

TEST_F(Replication, AReadAfterAWriteSeesItWhileTheStandbyLags) {
  auto standby = Open(Cluster::StandbyConninfo());
  ASSERT_NE(standby, nullptr);
  auto host = Open(Cluster::Conninfo(), {.readsOnStandby = true, .standbyWaitMs = 300});
  ASSERT_NE(host, nullptr);
  // The host's commits stop waiting for the standby, whose replay stops.
  ASSERT_EQ(Scalar(*host, "SET synchronous_commit = local"), "<no row>");
  ASSERT_EQ(Scalar(*standby, "SELECT pg_wal_replay_pause()"), "");
  EXPECT_EQ(Scalar(*host, Insert(1)), "<no row>");
  EXPECT_EQ(CountWhere(*host, table), "1 0");  // the standby has not got it: the primary answers
  EXPECT_EQ(Scalar(*standby, "SELECT count(*)::int FROM " + table), "0");

  ASSERT_EQ(Scalar(*standby, "SELECT pg_wal_replay_resume()"), "");
  EXPECT_EQ(Scalar(*host, Insert(2)), "<no row>");
  EXPECT_EQ(CountWhere(*host, table), "2 1");  // replayed within the wait: the standby answers
}

#ifdef EDBQUERY_PATH
ProcessOutcome Edbquery(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {"--format", "csv", "--no-header", "--db", Cluster::Conninfo()});
  return RunProcess(EDBQUERY_PATH, arguments);
}

TEST_F(Replication, EdbqueryWritesOnThePrimaryAndReadsOnTheStandbyWhenAsked) {
  const std::string where = "SELECT count(*)::int, pg_is_in_recovery() FROM " + table;
  const std::pair<std::vector<std::string>, std::string> runs[] = {
      {{Insert(1)}, ""},
      {{where}, "1,0\n"},
      {{"--read-standby", where}, "1,1\n"},
      {{"--read-standby", Insert(2)}, ""},
      {{"--read-standby", where}, "2,1\n"},
  };
  for (const auto& [arguments, out] : runs) {
    const ProcessOutcome outcome = Edbquery(arguments);
    EXPECT_EQ(outcome.exitCode, 0) << arguments.back() << ": " << outcome.err;
    EXPECT_EQ(outcome.out, out) << arguments.back();
  }
  ASSERT_TRUE(Cluster::StopPrimary());
  const ProcessOutcome unreachable = Edbquery({"--failover-timeout", "0", Insert(3)});
  EXPECT_EQ(unreachable.exitCode, 3) << unreachable.err;
}

#endif

}  // namespace
