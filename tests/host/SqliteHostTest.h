#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "NUVEdbResultTable.h"
#include "NUVSqliteHost.h"

// Every test gets its own sample database in memory, installed as the
// session.
class SqliteHost : public testing::Test {
 protected:
  void SetUp() override {
    std::string message;
    host = NUVSqliteHost::OpenSample(message);
    ASSERT_NE(host, nullptr) << message;
    host->Install();
  }
  void TearDown() override { host.reset(); }

  // Runs the statement into `table`, which starts empty each time.
  long Run(const std::string& statement, const NUVListPtrNUVBaseUnknown* headers = nullptr) {
    table = std::make_unique<NUVEdbResultTable>();
    return host->Run(statement.c_str(), *table, headers);
  }
  // The one value of the statement's first row and column, as text.
  std::string Scalar(const std::string& statement);
  // The message of the error recorded for a failure code.
  static std::string MessageOf(long code);

  std::unique_ptr<NUVSqliteHost> host;
  std::unique_ptr<NUVEdbResultTable> table;
};
