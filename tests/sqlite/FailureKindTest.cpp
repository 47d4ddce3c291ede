// The SQLite host's failures carry their kind: a program tells a lock
// held too long or a read-only database from a statement SQLite refuses.
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "NUVHostFailure.h"
#include "SqliteHostTest.h"

namespace {

using Kind = NUVHostFailureKind;

class SqliteFailureKinds : public SqliteHost {
 protected:
  void TearDown() override {
    host.reset();
    std::remove(path_.c_str());
  }
  std::unique_ptr<NUVSqliteHost> OpenFile(const NUVSqliteOpenOptions& options) {
    std::string message;
    auto opened = NUVSqliteHost::OpenFile(path_, message, options);
    EXPECT_NE(opened, nullptr) << message;
    return opened;
  }
  std::string path_ = testing::TempDir() + "nuvkinds" + std::to_string(getpid()) + ".sqlite";
};

TEST_F(SqliteFailureKinds, RefusedLockedAndReadOnly) {
  EXPECT_LT(Run("SELECT * FROM NOSUCH"), 0);
  EXPECT_EQ(host->LastFailure().kind, Kind::StatementFailed) << host->LastFailure().message;
  EXPECT_EQ(host->LastFailure().sqlstate, "");
  EXPECT_GE(Run("SELECT 1"), 0);
  EXPECT_FALSE(host->LastFailure().Failed());

  std::remove(path_.c_str());
  std::ofstream{path_};
  auto writer = OpenFile({NUVSqliteTextMode::Plain, false, 50});
  auto other = OpenFile({NUVSqliteTextMode::Plain, false, 50});
  NUVEdbResultTable none;
  ASSERT_GE(writer->Run("CREATE TABLE T (A INT)", none), 0);
  // The writer's transaction stays open while its consumer takes the
  // answer: the other connection's write waits 50 ms for the lock, then
  // gives up.
  NUVHostFailure locked;
  ASSERT_GE(writer->RunInBatches("INSERT INTO T VALUES (1) RETURNING A", 10,
                                 [&](NUVEdbResultTable&) {
                                   NUVEdbResultTable table;
                                   EXPECT_LT(other->Run("INSERT INTO T VALUES (2)", table), 0);
                                   locked = other->LastFailure();
                                   return 0L;
                                 }),
            0);
  EXPECT_EQ(locked.kind, Kind::Timeout) << locked.message;
  auto reader = OpenFile({NUVSqliteTextMode::Plain, true, 50});
  EXPECT_LT(reader->Run("INSERT INTO T VALUES (3)", none), 0);
  EXPECT_EQ(reader->LastFailure().kind, Kind::ReadOnly) << reader->LastFailure().message;
  // Neither the write that gave up on the lock nor the refused one wrote.
  host = std::move(reader);
  EXPECT_EQ(Scalar("SELECT group_concat(A) FROM T"), "1");
}

// Each kind's recorded error has its own id and message id in the host
// catalog, as written.
TEST(HostFailureCatalog, EachKindItsOwnRecordedError) {
  const struct {
    Kind kind;
    unsigned int id;
    const char* name;
  } kinds[] = {
      {Kind::StatementFailed, 1, "HostRefused"},
      {Kind::Unreachable, 2, "HostUnreachable"},
      {Kind::Retryable, 3, "HostRetryable"},
      {Kind::Timeout, 4, "HostTimeout"},
      {Kind::ReadOnly, 5, "HostReadOnly"},
      {Kind::CommitUnknown, 6, "HostCommitUnknown"},
      {Kind::AuthenticationRefused, 7, "HostAuthenticationRefused"},
  };
  for (const auto& k : kinds) {
    const long code = NUVHostFailed({k.kind, "12345", "why"});
    const NUVHostFailure read = NUVHostFailureOf(code);
    EXPECT_EQ(read.kind, k.kind) << k.name;
    EXPECT_EQ(read.sqlstate, "12345") << k.name;
    EXPECT_EQ(read.message, std::string("NUVHost.") + k.name + ": why");
    EXPECT_EQ(static_cast<unsigned int>(k.kind), k.id);
    EXPECT_STREQ(NUVHostFailureName(k.kind), k.name);
  }
  EXPECT_EQ(NUVHostFailureOf(NUV_E_FAIL).kind, Kind::None);
  EXPECT_EQ(NUVHostFailureOf(0).kind, Kind::None);
  NUVError::ClearRecordedErrors();
}

}  // namespace
