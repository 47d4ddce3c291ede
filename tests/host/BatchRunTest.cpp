#include <string>
#include <vector>

#include "NUVEdbResultTabHdr.h"
#include "NUVRefList.h"
#include "SqliteHostTest.h"

namespace {

// What one batch held: its column names and its rows' first values.
struct Batch {
  std::string columns;
  std::string ids;
};

class BatchRun : public SqliteHost {
 protected:
  // Runs the statement in batches; a consumer that fails at batch failAt
  // (from 1) answers a failure code there.
  long RunBatches(const std::string& statement, size_t batchRows, int failAt = 0) {
    batches.clear();
    return host->RunInBatches(statement.c_str(), batchRows, [&](NUVEdbResultTable& table) -> long {
      batches.push_back({Columns(table), Ids(table)});
      return static_cast<int>(batches.size()) == failAt ? NUV_E_FAIL : NUV_S_OK;
    });
  }
  static std::string Columns(NUVEdbResultTable& table) {
    NUVRefList headers;
    table.GetHeader(headers.get());
    std::string names;
    for (int i = 1; i <= headers.Size(); ++i) {
      NUVUnicodeString name;
      static_cast<const NUVEdbResultTabHdr*>(headers.get()[i])->GetAttrName(name);
      names += (i > 1 ? "," : "") + std::string(name.View());
    }
    return names;
  }
  static std::string Ids(NUVEdbResultTable& table) {
    int rows = 0;
    table.GetNumberOfRows(rows);
    std::string ids;
    for (int n = 1; n <= rows; ++n) {
      NUVRefList cells;
      table.GetRow(n, cells.get());
      NUVUnicodeString text;
      if (cells.Size() > 0) static_cast<const NUVEdbResultTabData*>(cells.get()[1])->GetData(text, 1);
      ids += (n > 1 ? "," : "") + std::string(text.View());
    }
    return ids;
  }
  std::vector<Batch> batches;
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
