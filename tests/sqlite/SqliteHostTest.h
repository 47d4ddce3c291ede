#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CellText.h"
#include "NUVEdbResultTable.h"
#include "NUVError.h"
#include "NUVRef.h"
#include "NUVSqliteHost.h"
#include "TestLists.h"

// Each test's own sample database in memory, installed as the session.
class SqliteHost : public testing::Test {
 protected:
  void SetUp() override {
    std::string message;
    host = NUVSqliteHost::OpenSample(message);
    ASSERT_NE(host, nullptr) << message;
    host->Install();
  }

  // Runs the statement into `table`, which starts empty each time.
  long Run(const std::string& statement, const NUVListPtrNUVBaseUnknown* headers = nullptr) {
    table = std::make_unique<NUVEdbResultTable>();
    return host->Run(statement.c_str(), *table, headers);
  }
  // Row n's cells joined by " ", each as "CLASS.ATTR:type=value" or, when
  // bare, as its value alone; text as stored (decode 0) or decoded (1).
  std::string Row(int n, bool bare = false, int decode = 1) {
    OwnedList cells;
    table->GetRow(n, cells.get());
    return CellText(cells.get(), bare, decode);
  }
  // The reason recorded when the host refuses the statement; empty when it runs.
  std::string Refusal(const std::string& statement, const NUVListPtrNUVBaseUnknown* headers = nullptr) {
    const long code = Run(statement, headers);
    if (code >= 0) return "";
    auto error = NUVAdopt(NUVError::NUVGetLastError(code, nullptr));
    if (!error) return "<no error recorded>";
    return error->GetMessageText();
  }
  // The values of the statement's first row, decoded.
  std::string Scalar(const std::string& statement) {
    return Refusal(statement).empty() ? Row(1, true) : "<refused>";
  }

  std::unique_ptr<NUVSqliteHost> host;
  std::unique_ptr<NUVEdbResultTable> table;
};
