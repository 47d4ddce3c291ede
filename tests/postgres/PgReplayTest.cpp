// A statement whose connection the server ends while it runs: which
// statements run once more on a new connection, and which fail as a lost
// connection.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "NUVEdbResultTable.h"
#include "PgScratch.h"
#include "RecordedText.h"

namespace {

// Ends the server session with the process id, through a session of the
// calling thread's own, as soon as it waits in pg_sleep, which is when its
// statement runs; false after 5 s without.
bool EndWhenAsleep(const std::string& conninfo, const std::string& pid) {
  const auto other = Open(conninfo);
  const std::string end = "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE pid = " + pid +
                          " AND wait_event = 'PgSleep'";
  for (int tries = 0; other && tries < 250; ++tries) {
    if (Scalar(*other, end) == "1") return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST(PgReplay, OnlyAReadingStatementWithNoRowHandedOutRunsAgain) {
  PgScratch scratch;
  const auto host = scratch.Host(false);
  ASSERT_NE(host, nullptr);
  ASSERT_EQ(Scalar(*host, "CREATE TABLE T (I INTEGER)"), "<no row>");
  // The session is ended while the statement sleeps: before its first
  // row, or after it (the server then sends the first row, and the
  // failure, as it ends).
  const char* const beforeRows =
      "SELECT pg_backend_pid() AS pid, I FROM pg_sleep(0.8), generate_series(1, 3) AS I";
  const char* const afterFirstRow =
      "SELECT pg_backend_pid() AS pid, I, pg_sleep(CASE WHEN I = 2 THEN 0.8 ELSE 0 END) AS s "
      "FROM generate_series(1, 3) AS I";
  const char* const write = "INSERT INTO T SELECT I FROM pg_sleep(0.8), generate_series(1, 3) AS I";
  struct Case {
    const char* what;
    const char* statement;
    bool batches;  // RunInBatches, one row a batch; else Run
    bool replayed;
    int handedOut;  // the batches handed out before the failure
  } cases[] = {
      {"read whole, before its first row", beforeRows, false, true, 0},
      {"read whole, after its first row", afterFirstRow, false, true, 0},
      {"read in batches, after the first batch", afterFirstRow, true, false, 1},
      {"write", write, false, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string pid = Scalar(*host, "SELECT pg_backend_pid()");
    std::thread ending([&] { EXPECT_TRUE(EndWhenAsleep(scratch.Conninfo(), pid)); });
    int rows = 0, batches = 0;
    std::string answeredBy;  // the first row, which begins with the server process id
    long code = 0;
    if (c.batches) {
      code = host->RunInBatches(c.statement, 1, [&](NUVEdbResultTable& batch) {
        int n = 0;
        batch.GetNumberOfRows(n);
        if (n > 0 && answeredBy.empty()) answeredBy = FirstRow(batch);
        rows += n;
        ++batches;
        return 0L;
      });
    } else {
      NUVEdbResultTable table;
      code = host->Run(c.statement, table);
      table.GetNumberOfRows(rows);
      if (code >= 0 && rows > 0) answeredBy = FirstRow(table);
    }
    ending.join();
    if (c.replayed) {
      EXPECT_GE(code, 0) << RecordedText(code);
      EXPECT_EQ(rows, 3);
      EXPECT_NE(answeredBy.substr(0, answeredBy.find(' ')), pid) << "the answer came from the ended session";
    } else {
      ASSERT_LT(code, 0);
      const std::string reason = RecordedText(code);
      EXPECT_NE(reason.find("connection lost: "), std::string::npos) << reason;
      EXPECT_EQ(reason.find('\n'), std::string::npos) << reason;
      EXPECT_EQ(batches, c.handedOut);
    }
    // The next statement reconnects; a write that failed changed nothing.
    EXPECT_EQ(Scalar(*host, "SELECT count(*) FROM T"), "0");
    EXPECT_NE(Scalar(*host, "SELECT pg_backend_pid()"), pid);
  }
}

}  // namespace
