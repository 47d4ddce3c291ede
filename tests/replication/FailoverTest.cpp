// One host object across a failover: the statement after the primary's
// loss finds the promoted standby, within the bound; a write cut before
// its commit is not applied; a commit whose answer is lost as the primary
// fails is in doubt; the host's settings come back with the new session.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "Cluster.h"
#include "CuttingRelay.h"
#include "NUVEdbResultTable.h"
#include "NUVHostFailure.h"
#include "SilentListener.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The port of the server the host's statements run on now.
std::string ServerPort(NUVHost& host) { return Scalar(host, "SELECT inet_server_port()"); }
std::string PrimaryPort() { return std::to_string(Cluster::Port(Cluster::PrimaryConninfo())); }

TEST_F(Replication, TheNextStatementAfterAFailoverRunsOnTheNewPrimary) {
  // Reading first (it runs again on the new primary) or writing first
  // (its transaction begins there): either way once, and nothing lost.
  for (const bool readingFirst : {true, false}) {
    SCOPED_TRACE(readingFirst ? "reading first" : "writing first");
    // Two servers and no target_session_attrs: a host that writes asks
    // for the one that takes writes.
    auto host = Open(Cluster::Conninfo());
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(Scalar(*host, Insert(readingFirst ? 1 : 3)), "<no row>");
    // The standby is promoted while the next statement waits for a primary.
    ASSERT_TRUE(Cluster::StopPrimary());
    std::future<bool> promoted = std::async(std::launch::async, [] {
      std::this_thread::sleep_for(milliseconds(1500));
      return Cluster::Promote();
    });
    const auto started = Clock::now();
    EXPECT_EQ(Scalar(*host, readingFirst ? Count() : Insert(4)), readingFirst ? "1" : "<no row>");
    EXPECT_GE(Clock::now() - started, milliseconds(1500));  // it waited for the promotion
    if (readingFirst) {
      EXPECT_EQ(Scalar(*host, Insert(2)), "<no row>");
    }
    EXPECT_TRUE(promoted.get());
    EXPECT_EQ(ServerPort(*host), PrimaryPort());
    EXPECT_EQ(Scalar(*host, Count()), readingFirst ? "2" : "4");
    ASSERT_TRUE(Cluster::Rejoin());
  }
}

TEST_F(Replication, ReconnectingGivesUpAtTheFailoverTimeout) {
  // Beside the stopped primary, a standby that refuses at once to be the
  // server that takes writes, or a server that takes the connection and
  // hangs, where each round would wait the whole connect timeout.
  SilentListener silent;
  ASSERT_NE(silent.Port(), 0);
  const struct {
    const char* name;
    bool silentServer;
    int failoverTimeoutMs;
    milliseconds most;  // libpq waits whole seconds, at least 2
  } cases[] = {
      {"a standby that refuses", false, 1000, milliseconds(5000)},
      {"a server that never answers", true, 3000, milliseconds(7000)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string other =
        std::to_string(c.silentServer ? silent.Port() : Cluster::Port(Cluster::StandbyConninfo()));
    auto host =
        Open("host=127.0.0.1,127.0.0.1 port=" + std::to_string(Cluster::Port(Cluster::PrimaryConninfo())) +
                 "," + other + " user=nuvtest dbname=nuvtest",
             {.connectTimeoutMs = 20000, .failoverTimeoutMs = c.failoverTimeoutMs});
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(Cluster::StopPrimary());
    const auto started = Clock::now();
    NUVEdbResultTable none;
    EXPECT_LT(host->Run(Count().c_str(), none), 0);
    EXPECT_EQ(host->LastFailure().kind, NUVHostFailureKind::Unreachable) << host->LastFailure().message;
    EXPECT_LT(Clock::now() - started, c.most);
    ASSERT_TRUE(Cluster::Promote());
    if (!c.silentServer) {  // the next statement finds the new primary in the list
      EXPECT_EQ(Scalar(*host, Count()), "0");
    }
    ASSERT_TRUE(Cluster::Rejoin());
  }
}

TEST_F(Replication, AWriteCutBeforeItsCommitIsNotApplied) {
  auto host = Open(Cluster::Conninfo());
  ASSERT_NE(host, nullptr);
  // The insert sleeps on the server; the primary goes away meanwhile.
  std::future<long> write = std::async(std::launch::async, [&] {
    NUVEdbResultTable none;
    return host->Run(("INSERT INTO " + table + " SELECT 1 FROM pg_sleep(2)").c_str(), none);
  });
  std::this_thread::sleep_for(milliseconds(500));
  ASSERT_TRUE(Cluster::StopPrimary());
  EXPECT_LT(write.get(), 0);
  EXPECT_EQ(host->LastFailure().kind, NUVHostFailureKind::Unreachable) << host->LastFailure().message;
  EXPECT_TRUE(host->LastWrote());
  ASSERT_TRUE(Cluster::Promote());
  EXPECT_EQ(Scalar(*host, Count()), "0");  // and it did not run again
}

// A commit whose answer is lost just as the primary fails: the promoted
// standby holds the transaction, yet its "committed" comes from another
// server instance, which may have given the same transaction id to a
// transaction of its own; the host reports the outcome as unknown.
TEST_F(Replication, ACommitLostAsThePrimaryFailsIsInDoubtOnThePromotedStandby) {
  const std::string primaryPort = PrimaryPort();
  const std::string standbyPort = std::to_string(Cluster::Port(Cluster::StandbyConninfo()));
  // The primary through a relay that drops COMMIT's answer and then takes
  // no connection, and the standby directly.
  CuttingRelay relay(Cluster::PrimarySocketDirectory(), primaryPort, true);
  const std::string conninfo = "host=" + relay.Directory() + ",127.0.0.1 port=" + primaryPort + "," +
                               standbyPort + " user=nuvtest dbname=nuvtest";
  auto host = Open(conninfo);
  ASSERT_NE(host, nullptr);
  // Once the answer is cut, the primary fails and the standby takes over
  // while the host tries to reconnect.
  std::future<bool> failedOver = std::async(std::launch::async, [&relay] {
    for (int tries = 0; tries < 1000 && !relay.Cut(); ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return relay.Cut() && Cluster::Failover();
  });
  NUVEdbResultTable none;
  EXPECT_LT(host->Run(Insert(1).c_str(), none), 0);
  EXPECT_EQ(host->LastFailure().kind, NUVHostFailureKind::CommitUnknown) << host->LastFailure().message;
  ASSERT_TRUE(failedOver.get());
  // The commit reached the standby before the primary went.
  EXPECT_EQ(Scalar(*host, Count()), "1");
  EXPECT_EQ(ServerPort(*host), standbyPort);
}

TEST_F(Replication, TheHostsSettingsComeBackAfterAFailover) {
  // Each differs from the server's default (extra_float_digits 1, no
  // statement or lock timeout).
  auto host = Open(Cluster::Conninfo(), {.statementTimeoutMs = 54321, .lockTimeoutMs = 4321});
  ASSERT_NE(host, nullptr);
  const std::string settings =
      "SELECT current_setting('extra_float_digits'), current_setting('statement_timeout'), "
      "current_setting('lock_timeout'), current_setting('standard_conforming_strings'), "
      "current_setting('bytea_output'), current_setting('client_encoding')";
  const std::string expected = Scalar(*host, settings);
  EXPECT_EQ(expected, "3 54321ms 4321ms on hex UTF8");
  ASSERT_TRUE(Cluster::Failover());
  EXPECT_EQ(Scalar(*host, settings), expected);
  EXPECT_EQ(ServerPort(*host), PrimaryPort());
}

}  // namespace
