// Eight threads insert and read back through a pool while the primary is
// stopped and the standby promoted, three times over: every insert
// reported done is on the last primary, none reported not applied is
// there, each one in doubt is counted and listed, and no thread hangs.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Cluster.h"
#include "NUVEdbResultTable.h"
#include "NUVHostFailure.h"
#include "NUVPostgresPool.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kThreads = 8;
constexpr size_t kPoolSize = 6;  // fewer hosts than threads: some wait for one
constexpr int kFailovers = 3;

// What the threads were told of their inserts, and when.
struct Outcomes {
  std::mutex mutex;
  std::vector<int> done;        // committed, as the host reported
  std::vector<int> notApplied;  // failed with nothing applied, as the host reported
  std::vector<int> inDoubt;     // the commit's outcome unknown
  std::vector<Clock::time_point> doneAt;
  int readBackMissing = 0;  // a row reported done that its own read did not find
  int borrowFailures = 0;

  void Add(std::vector<int>& to, int id) {
    std::lock_guard<std::mutex> lock(mutex);
    to.push_back(id);
    if (&to == &done) doneAt.push_back(Clock::now());
  }
  // The inserts done within [from, to).
  int DoneBetween(Clock::time_point from, Clock::time_point to) {
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<int>(std::count_if(doneAt.begin(), doneAt.end(),
                                          [&](Clock::time_point at) { return at >= from && at < to; }));
  }
  // The longest time within [from, to) in which no insert was done.
  double LongestPause(Clock::time_point from, Clock::time_point to) {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<Clock::time_point> within{from, to};
    for (Clock::time_point at : doneAt)
      if (at >= from && at < to) within.push_back(at);
    std::sort(within.begin(), within.end());
    Clock::duration longest{};
    for (size_t i = 1; i < within.size(); ++i) longest = std::max(longest, within[i] - within[i - 1]);
    return std::chrono::duration<double>(longest).count();
  }
};

// One thread's work until stop: insert a row of its own, read it back.
void Work(int thread, NUVPostgresPool& pool, const std::string& table, const std::atomic<bool>& stop,
          Outcomes& outcomes) {
  for (int n = 0; !stop; ++n) {
    const int id = thread * 1000000 + n;
    std::string message;
    NUVPostgresPool::Lease lease = pool.Borrow(milliseconds(60000), message);
    if (!lease) {
      std::lock_guard<std::mutex> lock(outcomes.mutex);
      ++outcomes.borrowFailures;
      std::this_thread::sleep_for(milliseconds(50));
      continue;
    }
    NUVEdbResultTable none;
    const std::string insert = "INSERT INTO " + table + " VALUES (" + std::to_string(id) + ")";
    if (lease->Run(insert.c_str(), none) < 0) {
      const bool doubt = lease->LastFailure().kind == NUVHostFailureKind::CommitUnknown;
      outcomes.Add(doubt ? outcomes.inDoubt : outcomes.notApplied, id);
      continue;
    }
    outcomes.Add(outcomes.done, id);
    NUVEdbResultTable read;
    int rows = -1;
    const std::string select = "SELECT k FROM " + table + " WHERE k = " + std::to_string(id);
    if (lease->Run(select.c_str(), read) >= 0 && read.GetNumberOfRows(rows) >= 0 && rows == 0) {
      std::lock_guard<std::mutex> lock(outcomes.mutex);
      ++outcomes.readBackMissing;
    }
  }
}

// The keys the table holds on the current primary.
std::set<int> Stored(const std::string& table) {
  std::set<int> keys;
  auto primary = Open(Cluster::PrimaryConninfo());
  if (!primary) return keys;
  NUVEdbResultTable rows;
  EXPECT_GE(primary->Run(("SELECT k FROM " + table).c_str(), rows), 0);
  int count = 0;
  rows.GetNumberOfRows(count);
  for (int row = 1; row <= count; ++row) {
    OwnedList cells;
    rows.GetRow(row, cells.get());
    keys.insert(std::atoi(CellText(cells.get(), true).c_str()));
  }
  return keys;
}

std::string Listed(const std::vector<int>& ids) {
  std::string list;
  for (int id : ids) list += (list.empty() ? "" : " ") + std::to_string(id);
  return list.empty() ? "none" : list;
}

TEST_F(Replication, NothingIsLostUnderLoadOverThreeFailovers) {
  NUVPostgresOpenOptions options;
  options.connectTimeoutMs = 2000;  // each server, while one is down
  NUVPostgresPool pool(Cluster::Conninfo(), options, kPoolSize);
  Outcomes outcomes;
  std::atomic<bool> stop{false};
  std::atomic<int> finished{0};
  std::vector<std::thread> threads;
  threads.reserve(kThreads);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      Work(t, pool, table, stop, outcomes);
      ++finished;
    });
  }

  const auto start = Clock::now();
  std::this_thread::sleep_for(milliseconds(3000));
  const auto firstFault = Clock::now();
  std::vector<double> recoverySeconds;
  for (int round = 0; round < kFailovers; ++round) {
    const auto stopped = Clock::now();
    EXPECT_TRUE(Cluster::Failover()) << "failover " << round + 1;
    std::this_thread::sleep_for(milliseconds(2000));
    EXPECT_TRUE(Cluster::Rejoin()) << "rejoin " << round + 1;
    std::this_thread::sleep_for(milliseconds(1000));
    recoverySeconds.push_back(outcomes.LongestPause(stopped, Clock::now()));
  }
  const auto lastFault = Clock::now();
  std::this_thread::sleep_for(milliseconds(3000));
  stop = true;
  const auto stopAt = Clock::now();

  // No thread may hang: each ends within the bounds of its statement.
  while (finished < kThreads && Clock::now() - stopAt < std::chrono::seconds(90))
    std::this_thread::sleep_for(milliseconds(50));
  if (finished < kThreads) {
    ADD_FAILURE() << kThreads - finished << " threads hung";
    std::cerr << "load-and-fault: threads hung; ending the process\n";
    std::_Exit(1);
  }
  for (std::thread& thread : threads) thread.join();

  const std::set<int> stored = Stored(table);
  std::vector<int> lost;
  std::vector<int> appliedYetFailed;
  std::vector<int> doubtApplied;
  for (int id : outcomes.done)
    if (!stored.count(id)) lost.push_back(id);
  for (int id : outcomes.notApplied)
    if (stored.count(id)) appliedYetFailed.push_back(id);
  for (int id : outcomes.inDoubt)
    if (stored.count(id)) doubtApplied.push_back(id);
  EXPECT_TRUE(lost.empty()) << "reported done, not stored: " << Listed(lost);
  EXPECT_TRUE(appliedYetFailed.empty()) << "reported not applied, stored: " << Listed(appliedYetFailed);
  EXPECT_EQ(outcomes.readBackMissing, 0);
  EXPECT_EQ(stored.size(), outcomes.done.size() + doubtApplied.size());
  EXPECT_GT(outcomes.done.size(), 0u);

  const double before =
      outcomes.DoneBetween(start, firstFault) / std::chrono::duration<double>(firstFault - start).count();
  const double after =
      outcomes.DoneBetween(lastFault, stopAt) / std::chrono::duration<double>(stopAt - lastFault).count();
  std::string recovery;
  for (double seconds : recoverySeconds) recovery += " " + std::to_string(seconds).substr(0, 4) + " s";
  std::cout << "load-and-fault: " << kThreads << " threads, pool of " << kPoolSize << ", " << kFailovers
            << " failovers\n"
            << "  inserts per second: " << static_cast<int>(before) << " before, " << static_cast<int>(after)
            << " after\n"
            << "  longest time without a done insert, each failover:" << recovery << "\n"
            << "  done " << outcomes.done.size() << ", not applied " << outcomes.notApplied.size()
            << ", in doubt " << outcomes.inDoubt.size() << " (" << doubtApplied.size() << " of them stored)"
            << ", lost " << lost.size() << ", failed yet applied " << appliedYetFailed.size()
            << ", borrow failures " << outcomes.borrowFailures << "\n"
            << "  in doubt: " << Listed(outcomes.inDoubt) << "\n";
}

}  // namespace
