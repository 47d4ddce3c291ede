#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "CellText.h"
#include "Cluster.h"
#include "NUVEdbResultTable.h"
#include "NUVPostgresHost.h"
#include "TestLists.h"

// Whichever server is the primary, through the two-server string.
inline std::string Writable() { return Cluster::Conninfo() + " target_session_attrs=read-write"; }

inline std::unique_ptr<NUVPostgresHost> Open(const std::string& conninfo,
                                             const NUVPostgresOpenOptions& options = {}) {
  std::string message;
  auto host = NUVPostgresHost::Open(conninfo, message, options);
  if (!host) ADD_FAILURE() << conninfo << ": " << message;
  return host;
}

// The first row's cells, bare and joined by " "; "<refused: ...>" when
// the host refuses the statement.
inline std::string Answer(NUVHost& host, const std::string& statement) {
  NUVEdbResultTable table;
  if (host.Run(statement.c_str(), table) < 0) return "<refused: " + host.LastFailure().message + ">";
  int rows = 0;
  table.GetNumberOfRows(rows);
  if (rows == 0) return "<no row>";
  OwnedList cells;
  table.GetRow(1, cells.get());
  return CellText(cells.get(), true);
}

// Each test has a table of its own and leaves the cluster as it found it:
// a running primary with a synchronous standby, whatever happened on the
// way.
class Replication : public testing::Test {
 protected:
  void SetUp() override {
    table = "repl_" + std::to_string(getpid()) + "_" +
            testing::UnitTest::GetInstance()->current_test_info()->name();
    auto primary = Open(Cluster::PrimaryConninfo());
    ASSERT_NE(primary, nullptr);
    ASSERT_EQ(Answer(*primary, "CREATE TABLE " + table + " (k INTEGER PRIMARY KEY)"), "<no row>");
  }
  void TearDown() override {
    std::string message;
    if (!NUVPostgresHost::Open(Cluster::PrimaryConninfo(), message)) {
      EXPECT_TRUE(Cluster::Promote());
    }
    if (SyncStandbys() != "1") {
      EXPECT_TRUE(Cluster::Rejoin());
    }
    auto primary = Open(Cluster::PrimaryConninfo());
    if (primary) Answer(*primary, "DROP TABLE IF EXISTS " + table);
  }

  // How many synchronous standbys the primary streams to, as text.
  static std::string SyncStandbys() {
    std::string message;
    auto primary = NUVPostgresHost::Open(Cluster::PrimaryConninfo(), message);
    if (!primary) return "<no primary: " + message + ">";
    return Answer(
        *primary,
        "SELECT count(*)::int FROM pg_stat_replication WHERE state = 'streaming' AND sync_state = 'sync'");
  }

  std::string Insert(int k) const { return "INSERT INTO " + table + " VALUES (" + std::to_string(k) + ")"; }
  std::string Count() const { return "SELECT count(*)::int FROM " + table; }

  std::string table;
};
