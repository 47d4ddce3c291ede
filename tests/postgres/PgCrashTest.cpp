#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "CuttingRelay.h"
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

// The host reaches the server: a statement gives its one row.
void ExpectReached(NUVPostgresHost& host) {
  NUVEdbResultTable table;
  const long code = host.Run("SELECT 1 AS one", table);
  EXPECT_GE(code, 0) << Reason(code);
  int rows = 0;
  table.GetNumberOfRows(rows);
  EXPECT_EQ(rows, 1);
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
  ExpectReached(*host);
}

// The text with every "/" written as %2F, as a URI's host must be.
std::string Escaped(const std::string& path) {
  std::string escaped;
  for (const char c : path) escaped += c == '/' ? std::string("%2F") : std::string(1, c);
  return escaped;
}

// Connection strings that name a socket directory where no server is
// before the server's own, as keywords and as a URI: the host connects to
// the one that answers, and after the server crashed and came back it
// reconnects with the whole string.
TEST(PgCrash, MultiHostStringReachesTheServerThatAnswers) {
  OwnServer server;
  ASSERT_TRUE(server.Started()) << "the test's own server did not start";
  const std::string dir = Keyword(server.Conninfo(), "host");
  const std::string port = Keyword(server.Conninfo(), "port");
  ASSERT_FALSE(dir.empty() || port.empty()) << server.Conninfo();
  const std::string conninfos[] = {
      "host=/nonexistent/nuv," + dir + " port=" + port + " user=nuvtest dbname=nuvtest",
      "postgresql://" + Escaped("/nonexistent/nuv") + ":" + port + "," + Escaped(dir) + ":" + port +
          "/nuvtest?user=nuvtest",
  };
  std::unique_ptr<NUVPostgresHost> hosts[2];
  for (int i = 0; i < 2; ++i) {
    std::string message;
    hosts[i] = NUVPostgresHost::Open(conninfos[i], message);
    ASSERT_NE(hosts[i], nullptr) << conninfos[i] << ": " << message;
  }
  ASSERT_TRUE(server.Do("crash"));
  ASSERT_TRUE(server.Do("restart"));
  for (auto& host : hosts) ExpectReached(*host);
}

}  // namespace
