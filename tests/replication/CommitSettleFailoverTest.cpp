// A commit whose answer is lost just as the primary fails: the promoted
// standby holds the transaction, yet its "committed" comes from another
// server instance, which may have given the same transaction id to a
// transaction of its own; the host reports the outcome as unknown.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "CuttingRelay.h"
#include "NUVEdbResultTable.h"
#include "NUVHostFailure.h"
#include "ReplicationFixture.h"

namespace {

TEST_F(Replication, ACommitLostAsThePrimaryFailsIsInDoubtOnThePromotedStandby) {
  const std::string primaryPort = std::to_string(Cluster::Port(Cluster::PrimaryConninfo()));
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
  EXPECT_EQ(Answer(*host, Count()), "1");
  EXPECT_EQ(Answer(*host, "SELECT inet_server_port()"), standbyPort);
}

}  // namespace
