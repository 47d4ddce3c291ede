#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "CellText.h"
#include "NUVBaseUnknown.h"
#include "NUVEdbResultTable.h"
#include "NUVError.h"
#include "PgScratch.h"
#include "RecordedText.h"
#include "TestLists.h"

namespace {

// The first row's cells of a table, bare.
std::string FirstRow(const NUVEdbResultTable& table) {
  OwnedList cells;
  table.GetRow(1, cells.get());
  return CellText(cells.get(), true);
}

// A statement whose connection the server ends while it runs: which
// statements run once more on a new connection, and which fail as a lost
// connection.
class PgReplay : public testing::Test {
 protected:
  void SetUp() override {
    host = scratch.Host(false);
    ASSERT_NE(host, nullptr);
    ASSERT_GE(Run(*host, "CREATE TABLE T (I INTEGER)"), 0);
  }

  long Run(NUVPostgresHost& on, const std::string& statement) {
    table = std::make_unique<NUVEdbResultTable>();
    return on.Run(statement.c_str(), *table);
  }
  std::string Scalar(NUVPostgresHost& on, const std::string& statement) {
    const long code = Run(on, statement);
    if (code < 0) return "<refused: " + RecordedText(code) + ">";
    return FirstRow(*table);
  }
  // Ends the server session with the process id through the other host
  // once it waits in pg_sleep, which is when its statement runs; true when
  // it did.
  static bool End(NUVPostgresHost& other, const std::string& pid) {
    NUVEdbResultTable ended;
    const std::string sql = "SELECT pg_terminate_backend(pid) AS e FROM pg_stat_activity WHERE pid = " + pid +
                            " AND wait_event = 'PgSleep'";
    int rows = 0;
    return other.Run(sql.c_str(), ended) >= 0 && ended.GetNumberOfRows(rows) >= 0 && rows == 1;
  }
  // Ends the session once, as soon as it sleeps, through a host of the
  // calling thread's own; false after 5 s without.
  bool EndWhenAsleep(const std::string& pid) const {
    std::string message;
    auto other = NUVPostgresHost::Open(scratch.Conninfo(), message);
    if (!other) return false;
    for (int tries = 0; tries < 250; ++tries) {
      if (End(*other, pid)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  PgScratch scratch;
  std::unique_ptr<NUVPostgresHost> host;
  std::unique_ptr<NUVEdbResultTable> table;
};

TEST_F(PgReplay, OnlyAReadingStatementWithNoRowHandedOutRunsAgain) {
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
      {"read in batches, before the first row", beforeRows, true, true, 0},
      {"read in batches, after the first batch", afterFirstRow, true, false, 1},
      {"write", write, false, false, 0},
      {"write in batches", write, true, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    table.reset();
    const long live = NUVBaseUnknown::LiveObjectCount();
    const std::string pid = Scalar(*host, "SELECT pg_backend_pid() AS pid");
    std::thread ending([&] { EXPECT_TRUE(EndWhenAsleep(pid)); });
    int rows = 0;
    int batches = 0;
    std::string answeredBy;
    long code = 0;
    if (c.batches) {
      code = host->RunInBatches(c.statement, 1, [&](NUVEdbResultTable& batch) {
        int n = 0;
        batch.GetNumberOfRows(n);
        if (n > 0 && answeredBy.empty()) answeredBy = FirstRow(batch).substr(0, FirstRow(batch).find(' '));
        rows += n;
        ++batches;
        return 0L;
      });
    } else {
      code = Run(*host, c.statement);
      table->GetNumberOfRows(rows);
      if (code >= 0 && rows > 0) answeredBy = FirstRow(*table).substr(0, FirstRow(*table).find(' '));
    }
    ending.join();
    if (c.replayed) {
      EXPECT_GE(code, 0) << RecordedText(code);
      EXPECT_EQ(rows, 3);
      EXPECT_NE(answeredBy, pid) << "the answer came from the session that was ended";
    } else {
      ASSERT_LT(code, 0);
      const std::string reason = RecordedText(code);
      EXPECT_NE(reason.find("connection lost: "), std::string::npos) << reason;
      EXPECT_EQ(batches, c.handedOut);
    }
    // The next statement reconnects; a write that failed changed nothing.
    EXPECT_EQ(Scalar(*host, "SELECT count(*) AS n FROM T"), "0");
    EXPECT_NE(Scalar(*host, "SELECT pg_backend_pid() AS pid"), pid);
    table.reset();
    NUVError::ClearRecordedErrors();
    EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live);
  }
}

}  // namespace
