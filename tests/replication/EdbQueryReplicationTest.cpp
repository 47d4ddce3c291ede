// edbquery on a primary with a standby: writes go to the primary, reads to
// the standby when asked, and a run begun while the primary is down
// waits for the promotion within --failover-timeout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProcessRun.h"
#include "ReplicationFixture.h"

#ifdef EDBQUERY_PATH
namespace {

ProcessOutcome Edbquery(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {"--format", "csv", "--no-header", "--db", Cluster::Conninfo()});
  return RunProcess(EDBQUERY_PATH, arguments);
}

TEST_F(Replication, EdbqueryWritesOnThePrimaryAndReadsOnTheStandbyWhenAsked) {
  const std::string where = "SELECT count(*)::int, pg_is_in_recovery() FROM " + table;
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string out;
  } runs[] = {
      {{Insert(1)}, 0, ""},
      {{where}, 0, "1,0\n"},
      {{"--read-standby", where}, 0, "1,1\n"},
      {{"--read-standby", Insert(2)}, 0, ""},
      {{"--read-standby", where}, 0, "2,1\n"},
  };
  for (const auto& run : runs) {
    const ProcessOutcome outcome = Edbquery(run.arguments);
    EXPECT_EQ(outcome.exitCode, run.exitCode) << run.arguments.back() << ": " << outcome.err;
    EXPECT_EQ(outcome.out, run.out) << run.arguments.back();
  }
}

TEST_F(Replication, EdbqueryWaitsForThePromotionWithinItsBound) {
  ASSERT_TRUE(Cluster::StopPrimary());
  // No primary: a run fails as unreachable (exit 3), after its one round.
  ProcessOutcome outcome = Edbquery({"--failover-timeout", "0", Insert(1)});
  EXPECT_EQ(outcome.exitCode, 3) << outcome.err;
  ASSERT_TRUE(Cluster::Promote());
  outcome = Edbquery({Insert(1)});
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  outcome = Edbquery({Count()});
  EXPECT_EQ(outcome.out, "1\n") << outcome.err;
}

}  // namespace
#endif
