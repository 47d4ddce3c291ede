#include <string>
#include <vector>

#include "SqliteHostTest.h"

namespace {

class BatchRun : public SqliteHost {
 protected:
  // Runs the statement in batches; a consumer that fails at batch failAt
  // (from 1) answers a failure code there.
  long RunBatches(const std::string& statement, size_t batchRows, int failAt = 0) {
    batches.clear();
    return host->RunInBatches(statement.c_str(), batchRows, [&](NUVEdbResultTable& table) -> long {
      int rows = 0;
      table.GetNumberOfRows(rows);
      batches.push_back(rows);
      return static_cast<int>(batches.size()) == failAt ? NUV_E_FAIL : NUV_S_OK;
    });
  }
  std::vector<int> batches;  // the rows of each batch
};

// A writing statement stays all or nothing, whether reading its answer or
// its consumer fails after the first batches.
TEST_F(BatchRun, FailingWriteIsRolledBackWhole) {
  const std::string update = "UPDATE PART SET QTY = QTY + 100 RETURNING ID";
  EXPECT_LT(RunBatches(update, 2, 3), 0);
  EXPECT_EQ(batches.size(), 3u);
  EXPECT_EQ(Scalar("SELECT SUM(QTY) FROM PART"), "21");
  const std::string failing =
      "UPDATE PART SET QTY = 1 RETURNING CASE WHEN ID = 'P6' THEN "
      "abs(-9223372036854775808) ELSE ID END";
  EXPECT_LT(RunBatches(failing, 2), 0);
  EXPECT_EQ(Scalar("SELECT SUM(QTY) FROM PART"), "21");
  ASSERT_GE(RunBatches(update, 5), 0);
  EXPECT_EQ(batches.size(), 2u);
  EXPECT_EQ(host->ChangedRows(), 8);
  EXPECT_EQ(Scalar("SELECT SUM(QTY) FROM PART"), "821");
}

}  // namespace
