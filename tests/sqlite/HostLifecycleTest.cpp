#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "NUVEdbGeneralTool.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVRef.h"
#include "NUVSession.h"
#include "SqliteHostTest.h"

namespace {

using SqliteHostLifecycle = SqliteHost;

TEST_F(SqliteHostLifecycle, OnlyDatabaseFilesOpen) {
  const std::string path = testing::TempDir() + "nuvhost" + std::to_string(getpid()) + ".sqlite";
  std::remove(path.c_str());
  std::string message;
  ASSERT_TRUE(NUVSqliteHost::WriteSample(path, message)) << message;
  EXPECT_FALSE(NUVSqliteHost::WriteSample(path, message));
  EXPECT_NE(message.find("exists"), std::string::npos);
  host = NUVSqliteHost::OpenFile(path, message);
  ASSERT_NE(host, nullptr) << message;
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM PART"), "8");
  host.reset();
  std::ofstream(path) << "this is not a database, only some text that is long enough to be read";
  message.clear();
  EXPECT_EQ(NUVSqliteHost::OpenFile(path, message), nullptr);
  EXPECT_FALSE(message.empty());
  std::remove(path.c_str());
}

// Closing the host removes its own session only; its objects and tables
// live on.
TEST_F(SqliteHostLifecycle, ClosingRemovesTheSessionAndReportsGoToTheHost) {
  std::string message;
  NUVSqliteHost::OpenSample(message).reset();
  NUVSession* session = nullptr;
  EXPECT_GE(GetPtrSession(session), 0);
  NUVEdbGeneralTool().CheckError(Run("SELEC 1"), "running", "SELEC 1");
  ASSERT_EQ(host->Reports().size(), 1U);
  EXPECT_NE(host->Reports().back().find("syntax error"), std::string::npos) << host->Reports().back();
  NUVRef<NUVIEdbSysObject> part;
  ASSERT_GE(host->Query()->GetObjectFromKey("PART", "P1", part.out()), 0);
  ASSERT_GE(Run("SELECT ID FROM PART"), 0);
  host.reset();
  EXPECT_LT(GetPtrSession(session), 0);
  NUVUnicodeString key;
  EXPECT_GE(part->GetObjectKey(key), 0);
  EXPECT_STREQ(key.CastToCharPtr(), "P1");
}

}  // namespace
