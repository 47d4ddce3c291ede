#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "NUVEdbGeneralTool.h"
#include "NUVEdbResultTable.h"
#include "NUVSession.h"
#include "NUVSqliteHost.h"

namespace {

std::string TemporaryPath() {
  char path[] = "/tmp/nuvhostXXXXXX";
  const int fd = mkstemp(path);
  if (fd >= 0) close(fd);
  std::remove(path);
  return path;
}

TEST(SqliteHostLifecycle, SampleFileIsWrittenOnceAndOpens) {
  const std::string path = TemporaryPath();
  std::string message;
  ASSERT_TRUE(NUVSqliteHost::WriteSample(path, message)) << message;
  EXPECT_FALSE(NUVSqliteHost::WriteSample(path, message));
  EXPECT_NE(message.find("exists"), std::string::npos);
  auto host = NUVSqliteHost::OpenFile(path, message);
  ASSERT_NE(host, nullptr) << message;
  NUVEdbResultTable table;
  EXPECT_GE(host->Run("SELECT ID FROM PART", table), 0);
  int rows = 0;
  table.GetNumberOfRows(rows);
  EXPECT_EQ(rows, 8);
  host.reset();
  std::remove(path.c_str());
}

TEST(SqliteHostLifecycle, FilesThatAreNoDatabaseAreRefused) {
  std::string message;
  EXPECT_EQ(NUVSqliteHost::OpenFile("/nonexistent/db.sqlite", message), nullptr);
  EXPECT_NE(message.find("no database file"), std::string::npos);
  const std::string path = TemporaryPath();
  FILE* file = std::fopen(path.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("this is not a database, only some text that is long enough to be read", file);
  std::fclose(file);
  EXPECT_EQ(NUVSqliteHost::OpenFile(path, message), nullptr);
  EXPECT_FALSE(message.empty());
  std::remove(path.c_str());
}

TEST(SqliteHostLifecycle, ClosingRemovesTheSessionAndReportsGoToTheHost) {
  std::string message;
  auto host = NUVSqliteHost::OpenSample(message);
  host->Install();
  NUVSession* session = nullptr;
  EXPECT_GE(GetPtrSession(session), 0);
  NUVEdbResultTable table;
  const long code = host->Run("SELEC 1", table);
  NUVEdbGeneralTool().CheckError(code, "running", "SELEC 1");
  ASSERT_EQ(host->Reports().size(), 1U);
  EXPECT_NE(host->Reports().back().find("syntax error"), std::string::npos) << host->Reports().back();
  host.reset();
  EXPECT_LT(GetPtrSession(session), 0);
}

}  // namespace
