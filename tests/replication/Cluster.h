#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "NUVPostgresHost.h"
#include "PgScratch.h"
#include "ProcessRun.h"

// The primary and its synchronous standby that the test fixture started
// with the cluster script, found through the state directory
// NUV_CLUSTER_STATE names. The connection strings are read afresh on each
// call, since a failover swaps the two servers.
class Cluster {
 public:
  // Both servers, primary first as started (host=...,... port=...,...).
  static std::string Conninfo() { return Line("conninfo"); }
  // The current primary alone.
  static std::string PrimaryConninfo() { return Line("primary-conninfo"); }
  // The current standby alone (stopped between a failover and a rejoin).
  static std::string StandbyConninfo() { return Line("standby-conninfo"); }

  // Each runs the script's action of that name and answers true when it
  // succeeded. Failover stops the primary as a crash would and promotes
  // the standby; StopPrimary and Promote are its two halves. Rejoin
  // rebuilds the stopped server as the new primary's synchronous standby.
  static bool Failover() { return Run("failover"); }
  static bool StopPrimary() { return Run("stop-primary"); }
  static bool Promote() { return Run("promote"); }
  static bool Rejoin() { return Run("rejoin"); }

  // The directory of the current primary's Unix socket.
  static std::string PrimarySocketDirectory() { return Line(Line("primary") + ".dir"); }

  // The port a single-server connection string names; 0 when none.
  static int Port(const std::string& conninfo) {
    const auto at = conninfo.find("port=");
    return at == std::string::npos ? 0 : std::atoi(conninfo.c_str() + at + 5);
  }

 private:
  static std::string State() {
    const char* state = std::getenv("NUV_CLUSTER_STATE");
    if (!state || !*state) ADD_FAILURE() << "NUV_CLUSTER_STATE is unset: run the tests through ctest";
    return state ? state : "";
  }
  // The first line of a file the script keeps in the state directory;
  // empty, with a test failure, when there is none.
  static std::string Line(const std::string& name) {
    std::ifstream in(State() + "/" + name);
    std::string line;
    std::getline(in, line);
    if (line.empty()) ADD_FAILURE() << "no cluster: " << State() << "/" << name << " is missing or empty";
    return line;
  }
  static bool Run(const char* action) {
    const std::string command = ShellQuoted(NUV_CLUSTER_SCRIPT) + " " + action + " " + ShellQuoted(State());
    return ExitCode(std::system(command.c_str())) == 0;
  }
};

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
    ASSERT_EQ(Scalar(*primary, "CREATE TABLE " + table + " (k INTEGER PRIMARY KEY)"), "<no row>");
  }
  void TearDown() override {
    std::string message;
    if (!NUVPostgresHost::Open(Cluster::PrimaryConninfo(), message)) {
      EXPECT_TRUE(Cluster::Promote());
    }
    auto primary = Open(Cluster::PrimaryConninfo());
    const char* const syncStandbys =
        "SELECT count(*)::int FROM pg_stat_replication WHERE state = 'streaming' AND sync_state = 'sync'";
    if (!primary || Scalar(*primary, syncStandbys) != "1") {
      EXPECT_TRUE(Cluster::Rejoin());
      primary = Open(Cluster::PrimaryConninfo());
    }
    if (primary) Scalar(*primary, "DROP TABLE IF EXISTS " + table);
  }

  std::string Insert(int k) const { return "INSERT INTO " + table + " VALUES (" + std::to_string(k) + ")"; }
  std::string Count() const { return "SELECT count(*)::int FROM " + table; }

  std::string table;
};
