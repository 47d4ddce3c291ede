// The replicated fixture itself: a commit on the primary is on the
// standby, the standby refuses writes as read-only, and after each
// failover the surviving server is the primary with every committed row,
// writable through the two-server connection string, until the rebuilt
// standby is synchronous again.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "NUVEdbResultTable.h"
#include "NUVHostFailure.h"
#include "ReplicationFixture.h"

namespace {

TEST_F(Replication, CommitOnThePrimaryIsReadOnTheStandby) {
  EXPECT_EQ(SyncStandbys(), "1");
  auto primary = Open(Cluster::PrimaryConninfo());
  auto standby = Open(Cluster::StandbyConninfo());
  ASSERT_TRUE(primary && standby);
  EXPECT_EQ(Answer(*standby, "SELECT pg_is_in_recovery()"), "1");
  EXPECT_EQ(Answer(*primary, "SELECT pg_is_in_recovery()"), "0");
  for (int k = 1; k <= 3; ++k) {
    ASSERT_EQ(Answer(*primary, Insert(k)), "<no row>");
    // No wait: the commit returned once the standby had applied it.
    EXPECT_EQ(Answer(*standby, Count()), std::to_string(k));
  }
}

TEST_F(Replication, StandbyRefusesEveryWriteAsReadOnly) {
  auto standby = Open(Cluster::StandbyConninfo());
  ASSERT_NE(standby, nullptr);
  for (const std::string& write : {Insert(1), "UPDATE " + table + " SET k = 2", "DELETE FROM " + table,
                                   std::string("CREATE TABLE repl_never (k INTEGER)")}) {
    NUVEdbResultTable none;
    EXPECT_LT(standby->Run(write.c_str(), none), 0) << write;
    EXPECT_EQ(standby->LastFailure().kind, NUVHostFailureKind::ReadOnly)
        << write << ": " << standby->LastFailure().message;
    EXPECT_EQ(standby->LastFailure().sqlstate, "25006") << write;
  }
  // The standby still reads after its refusals.
  EXPECT_EQ(Answer(*standby, Count()), "0");
}

// Three failovers in a row, each with a rejoin: the committed rows survive
// every one, the two-server string writes to the new primary at once, and
// what it commits before the rejoin reaches the rebuilt standby.
TEST_F(Replication, EveryCommittedRowSurvivesRepeatedFailovers) {
  int rows = 0;
  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE("failover " + std::to_string(round));
    {
      auto writer = Open(Writable());
      ASSERT_NE(writer, nullptr);
      ASSERT_EQ(Answer(*writer, Insert(++rows)), "<no row>");
    }
    const int oldPrimary = Cluster::Port(Cluster::PrimaryConninfo());
    ASSERT_TRUE(Cluster::Failover());
    EXPECT_EQ(Cluster::Port(Cluster::StandbyConninfo()), oldPrimary);
    ASSERT_NE(Cluster::Port(Cluster::PrimaryConninfo()), oldPrimary);

    auto writer = Open(Writable());
    ASSERT_NE(writer, nullptr);
    EXPECT_EQ(Answer(*writer, "SELECT inet_server_port()"),
              std::to_string(Cluster::Port(Cluster::PrimaryConninfo())));
    EXPECT_EQ(Answer(*writer, Count()), std::to_string(rows));
    // Alone, the new primary commits without waiting for a standby.
    ASSERT_EQ(Answer(*writer, Insert(++rows)), "<no row>");

    ASSERT_TRUE(Cluster::Rejoin());
    EXPECT_EQ(SyncStandbys(), "1");
    auto standby = Open(Cluster::StandbyConninfo());
    ASSERT_NE(standby, nullptr);
    EXPECT_EQ(Answer(*standby, Count()), std::to_string(rows));
  }
}

// Between the primary's loss and the promotion there is no server to
// write to; the standby keeps reading, and the promotion ends the gap.
TEST_F(Replication, NoPrimaryUntilTheStandbyIsPromoted) {
  {
    auto primary = Open(Cluster::PrimaryConninfo());
    ASSERT_NE(primary, nullptr);
    ASSERT_EQ(Answer(*primary, Insert(1)), "<no row>");
  }
  ASSERT_TRUE(Cluster::StopPrimary());
  std::string message;
  NUVHostFailureKind kind = NUVHostFailureKind::None;
  EXPECT_EQ(NUVPostgresHost::Open(Writable(), message, {}, &kind), nullptr);
  EXPECT_EQ(kind, NUVHostFailureKind::Unreachable) << message;
  auto standby = Open(Cluster::StandbyConninfo());
  ASSERT_NE(standby, nullptr);
  EXPECT_EQ(Answer(*standby, Count()), "1");

  ASSERT_TRUE(Cluster::Promote());
  auto writer = Open(Writable());
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(Answer(*writer, Insert(2)), "<no row>");
  EXPECT_EQ(Answer(*writer, Count()), "2");
  ASSERT_TRUE(Cluster::Rejoin());
  EXPECT_EQ(SyncStandbys(), "1");
}

}  // namespace
