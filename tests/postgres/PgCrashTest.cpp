#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "NUVEdbResultTable.h"
#include "NUVError.h"
#include "NUVPostgresHost.h"
#include "RecordedText.h"

namespace {

// A server of the test's own, which it may crash and restart.
class OwnServer {
 public:
  OwnServer() : state_(testing::TempDir() + "nuv_pg_crash_" + std::to_string(getpid())) {
    started_ = Do("start");
    std::ifstream in(state_ + "/conninfo");
    std::getline(in, conninfo_);
  }
  ~OwnServer() { Do("stop"); }
  OwnServer(const OwnServer&) = delete;
  OwnServer& operator=(const OwnServer&) = delete;

  // Runs the server script's action; true when it succeeded.
  bool Do(const char* action) const {
    const std::string command =
        std::string(NUV_PG_SERVER_SCRIPT) + " " + action + " " + state_ + " >/dev/null";
    return std::system(command.c_str()) == 0;
  }
  bool Started() const { return started_ && !conninfo_.empty(); }
  const std::string& Conninfo() const { return conninfo_; }

 private:
  std::string state_;
  std::string conninfo_;
  bool started_ = false;
};

std::string Reason(long code) {
  std::string message = RecordedText(code);
  return message;
}

// The server stops at once while an answer is read batch by batch: the run
// fails as a lost connection after the batches it had handed over, and
// once the server is back the next statement reaches it again.
TEST(PgCrash, ServerStoppedMidAnswerThenReachedAgain) {
  OwnServer server;
  ASSERT_TRUE(server.Started()) << "the test's own server did not start";
  std::string message;
  auto host = NUVPostgresHost::Open(server.Conninfo(), message);
  ASSERT_NE(host, nullptr) << message;
  int batches = 0;
  const long code = host->RunInBatches("SELECT i, 'row ' || i AS t FROM generate_series(1, 2000000) AS i",
                                       100, [&](NUVEdbResultTable&) {
                                         if (++batches == 1) {
                                           EXPECT_TRUE(server.Do("crash"));
                                         }
                                         return 0L;
                                       });
  ASSERT_LT(code, 0);
  EXPECT_GE(batches, 1);
  const std::string reason = Reason(code);
  EXPECT_NE(reason.find("connection lost: "), std::string::npos) << reason;
  EXPECT_EQ(reason.find('\n'), std::string::npos) << reason;
  ASSERT_TRUE(server.Do("restart"));
  NUVEdbResultTable table;
  const long again = host->Run("SELECT 1 AS one", table);
  EXPECT_GE(again, 0) << Reason(again);
  int rows = 0;
  table.GetNumberOfRows(rows);
  EXPECT_EQ(rows, 1);
}

}  // namespace
