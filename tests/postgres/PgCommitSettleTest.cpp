// A commit whose answer is lost on the way back, caused for real by a
// relay between the host and the server that cuts the connection once the
// server has answered COMMIT: the host settles it on a new connection, or
// says it is in doubt when it cannot reach the server again.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "CuttingRelay.h"
#include "NUVEdbResultTable.h"
#include "NUVHostFailure.h"
#include "PgScratch.h"

namespace {

// A scratch schema with a table to insert into, and a host on it that
// reaches the server directly.
class PgCommitSettle : public testing::Test {
 protected:
  void SetUp() override {
    direct = scratch.Host(false);
    ASSERT_NE(direct, nullptr);
    ASSERT_GE(direct->Run("CREATE TABLE SETTLED (ID INT)", none), 0);
  }
  PgScratch scratch;
  std::unique_ptr<NUVPostgresHost> direct;
  NUVEdbResultTable none;
};

TEST_F(PgCommitSettle, AnswerLostAfterTheCommit) {
  const std::string& conninfo = scratch.Conninfo();
  for (const bool reachable : {true, false}) {
    CuttingRelay relay(Keyword(conninfo, "host"), Keyword(conninfo, "port"), !reachable);
    std::string message;
    NUVPostgresOpenOptions options;
    options.failoverTimeoutMs = 500;  // the relay that stays cut is not tried for long
    auto host = NUVPostgresHost::Open(ViaRelay(conninfo, relay), message, options);
    ASSERT_NE(host, nullptr) << message;
    const long code = host->Run("INSERT INTO SETTLED VALUES (1)", none);
    EXPECT_TRUE(relay.Cut());
    if (reachable) {
      // Asked again on a new connection, the server says it committed.
      EXPECT_GE(code, 0) << host->LastFailure().message;
      EXPECT_EQ(host->ChangedRows(), 1);
    } else {
      EXPECT_LT(code, 0);
      EXPECT_EQ(host->LastFailure().kind, NUVHostFailureKind::CommitUnknown) << host->LastFailure().message;
    }
    host.reset();
  }
  // Both inserts committed: the answer was lost after the commit each time.
  EXPECT_EQ(RowCount(*direct, "SELECT * FROM SETTLED"), 2);
}

#ifdef EDBQUERY_PATH
// edbquery exits 0 for a commit settled as committed and 5 for one whose
// outcome stays unknown.
TEST_F(PgCommitSettle, EdbqueryExitStatus) {
  const std::string& conninfo = scratch.Conninfo();
  for (const bool reachable : {true, false}) {
    CuttingRelay relay(Keyword(conninfo, "host"), Keyword(conninfo, "port"), !reachable);
    std::string quoted = "'";
    for (const char c : ViaRelay(conninfo, relay)) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    const std::string command =
        std::string(EDBQUERY_PATH) + " --failover-timeout 500 --db " + quoted + "' 'INSERT INTO SETTLED VALUES (1)' 2>/dev/null";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, reachable ? 0 : 5);
  }
}
#endif

}  // namespace
