#include <gtest/gtest.h>

#include "AnomalyLoop.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTable.h"
#include "NUVError.h"
#include "NUVIEdbSysObject.h"
#include "NUVIUnknownList.h"
#include "NUVSqliteHost.h"
#include "TestLists.h"

namespace {

// The whole road on the SQLite host, headers to bound variables, with the
// n-th base-object allocation failing: the run fails or completes, and
// every object is given back.
TEST(AllocationFailure, RoadThroughTheSqliteHost) {
  std::string message;
  auto host = NUVSqliteHost::OpenSample(message);
  ASSERT_NE(host, nullptr) << message;
  host->Install();
  RunAnomalyLoop("SQLite host road", [&](long n) {
    const long live = NUVBaseUnknown::LiveObjectCount();
    bool struck = false;
    {
      NUVUnicodeString name;
      NUVIEdbSysObject* product = nullptr;
      NUVIUnknownList* docs = nullptr;
      OwnedList bindings{new NUVEdbOutputData("PART", "NAME", &name),
                         new NUVEdbOutputData("PRODUCT", "PRODUCT", product),
                         new NUVEdbOutputData("DOCUMENT", "DOCS", docs)};
      OwnedList headers;
      NUVUnicodeString columns;
      NUVEdbResultTable table;
      NUVEdbBrokerTool broker;
      AllocationFault fault(n);
      broker.ExtractInputDefinition(bindings, headers, columns);
      const long code = host->Run(
          "SELECT NAME, PRODUCT, (SELECT GROUP_CONCAT(DOCNO, '+') FROM DOCUMENT D WHERE D.PART = P.ID) AS "
          "DOCS "
          "FROM PART P WHERE ID IN ('P1', 'P2')",
          table, &headers.get());
      int rows = 0;
      table.GetNumberOfRows(rows);
      for (int row = 1; row <= rows; ++row) broker.ExtractOutput(table, bindings, host->Query(), row);
      struck = fault.Stop();
      if (!struck) {
        EXPECT_GE(code, 0);
        EXPECT_EQ(rows, 2);
        EXPECT_STREQ(name.CastToCharPtr(), "Drive gear");
        EXPECT_NE(product, nullptr);
        EXPECT_NE(docs, nullptr);
      }
      if (product) product->Release();
      if (docs) docs->Release();
    }
    NUVError::ClearRecordedErrors();
    EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live) << "failing allocation " << n;
    return struck;
  });
  host.reset();
}

}  // namespace
