// The pool of hosts: what it lends, how long a thread waits, and which
// hosts it drops when they come back unusable.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "NUVPostgresPool.h"
#include "PgScratch.h"

namespace {

using std::chrono::milliseconds;

// The server process id of a lent host's session.
std::string BackendPid(NUVPostgresHost& host) { return Scalar(host, "SELECT pg_backend_pid()"); }

class PgPool : public testing::Test {
 protected:
  NUVPostgresPool::Lease Borrow(NUVPostgresPool& pool, milliseconds wait = milliseconds(2000)) {
    std::string message;
    NUVPostgresPool::Lease lease = pool.Borrow(wait, message);
    EXPECT_TRUE(lease) << message;
    return lease;
  }
  PgScratch scratch;
};

TEST_F(PgPool, LendsAtMostItsSizeAndAWaitingThreadGetsTheHostGivenBack) {
  NUVPostgresPool pool(scratch.Conninfo(), {}, 2);
  NUVPostgresPool::Lease first = Borrow(pool);
  NUVPostgresPool::Lease second = Borrow(pool);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(pool.Open(), 2u);

  // A third waits for its time, then comes away empty as a timeout.
  std::string message;
  NUVHostFailureKind kind = NUVHostFailureKind::None;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(pool.Borrow(milliseconds(300), message, &kind));
  EXPECT_GE(std::chrono::steady_clock::now() - started, milliseconds(300));
  EXPECT_EQ(kind, NUVHostFailureKind::Timeout) << message;

  // One that waits gets the first host as soon as its lease ends.
  const std::string pid = BackendPid(*first);
  std::string lentPid;
  std::thread waiter([&] {
    NUVPostgresPool::Lease lease = Borrow(pool, milliseconds(5000));
    if (lease) lentPid = BackendPid(*lease);
  });
  std::this_thread::sleep_for(milliseconds(100));
  first = NUVPostgresPool::Lease();
  waiter.join();
  EXPECT_EQ(lentPid, pid);
}

TEST_F(PgPool, DropsAHostWhoseSessionEndedOrTurnedReadOnly) {
  NUVPostgresPool pool(scratch.Conninfo(), {}, 1);
  const auto admin = scratch.Host(false);
  ASSERT_NE(admin, nullptr);
  for (const bool ended : {true, false}) {
    SCOPED_TRACE(ended ? "session ended by the server" : "session left read-only");
    std::string pid;
    {
      NUVPostgresPool::Lease lease = Borrow(pool);
      ASSERT_TRUE(lease);
      pid = BackendPid(*lease);
      if (ended) {
        EXPECT_EQ(Scalar(*admin, "SELECT pg_terminate_backend(" + pid + ")"), "1");
      } else {
        EXPECT_EQ(Scalar(*lease, "SET default_transaction_read_only = on"), "<no row>");
      }
    }
    NUVPostgresPool::Lease lease = Borrow(pool);
    ASSERT_TRUE(lease);
    EXPECT_EQ(pool.Dropped(), ended ? 1u : 2u);
    EXPECT_NE(BackendPid(*lease), pid);
    EXPECT_EQ(Scalar(*lease, "CREATE TEMP TABLE W (I INT)"), "<no row>");
  }
}

TEST_F(PgPool, ManyThreadsShareFewHosts) {
  constexpr int kThreads = 8;
  constexpr int kRounds = 20;
  NUVPostgresPool pool(scratch.Conninfo(), {}, 3);
  const auto admin = scratch.Host(false);
  ASSERT_NE(admin, nullptr);
  ASSERT_EQ(Scalar(*admin, "CREATE TABLE SHARED (ID INT PRIMARY KEY)"), "<no row>");
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  threads.reserve(kThreads);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        std::string message;
        NUVPostgresPool::Lease lease = pool.Borrow(milliseconds(10000), message);
        const std::string insert = "INSERT INTO SHARED VALUES (" + std::to_string(t * kRounds + round) + ")";
        if (!lease || Scalar(*lease, insert) != "<no row>") ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_LE(pool.Open(), 3u);
  EXPECT_EQ(Scalar(*admin, "SELECT count(*) FROM SHARED"), std::to_string(kThreads * kRounds));
}

}  // namespace
