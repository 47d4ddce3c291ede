#include <gtest/gtest.h>

#include <string>

#include "AnomalyLoop.h"
#include "HostObjectLists.h"
#include "NUVEdbAppError.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbDeleteError.h"
#include "NUVEdbInputTable.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVSqliteHost.h"
#include "TestLists.h"

// Every operation that allocates base objects, run with its n-th allocation
// answering null for n = 1, 2, ... until a run completes untouched. Each run
// gives the documented result and gives back all it took.

namespace {

// One run of the operation on a fresh scene with a fault at allocation n;
// answers whether the fault struck.
struct AllocatingOperation {
  const char* name;
  bool (*attempt)(HostScene& scene, long n);
};

bool ObjectListInATypedValue(HostScene& scene, long n) {
  auto objects = NUVRef<NUVIUnknownList>::Adopt(HostObjectList(*scene.host, "PART", {"K1", "K2"}));
  AllocationFault fault(n);
  auto parameter = NUVRef<NUVEdbSQLData>::Adopt(new NUVEdbSQLData(Texts({"ID="}), objects.get(), "OR"));
  const bool struck = fault.Stop();
  int count = -1;
  if (parameter) parameter->GetListSize(count);
  if (struck) {
    EXPECT_LT(count, 2);  // no value, or one without the item whose list could not be made
  } else {
    EXPECT_EQ(count, 2);
  }
  return struck;
}

bool VolatileObjectList(HostScene&, long n) {
  NUVEdbBrokerTool broker;
  NUVRef<NUVIUnknownList> list;
  AllocationFault fault(n);
  const long code = broker.CreateVolatileObjectList("PART", "ID", "K1+K2+K3", *list.out());
  const bool struck = fault.Stop();
  const std::string keys = KeysOf(list.get());
  if (!struck) {
    EXPECT_GE(code, 0);
    EXPECT_EQ(keys, "K1+K2+K3");
  } else {
    EXPECT_LT(keys.size(), std::string("K1+K2+K3").size()) << keys;  // one object or the list is missing
  }
  return struck;
}

// A failed append adds no row.
bool InputRow(HostScene&, long n) {
  OwnedList entries{new NUVEdbSQLData(":ID", 1)};
  NUVEdbInputTable table;
  AllocationFault fault(n);
  const long code = table.AppendRow(entries.get());
  const bool struck = fault.Stop();
  int rows = -1;
  table.GetNumberOfRows(rows);
  EXPECT_EQ(code < 0, struck);
  EXPECT_EQ(rows, struck ? 0 : 1);
  return struck;
}

template <class Error>
bool Clone(HostScene&, long n) {
  Error error(7U, "M", "C");
  AllocationFault fault(n);
  auto clone = NUVRef<NUVError>::Adopt(error.CloneSelf());
  const bool struck = fault.Stop();
  EXPECT_EQ(clone.get() == nullptr, struck);
  EXPECT_EQ(clone ? clone->GetId() : 7U, 7U);
  return struck;
}

bool DeleteErrorObjects(HostScene&, long n) {
  NUVEdbDeleteError error(3U);
  error.SetErrorInfo(Texts({"K1", "K2"}), Texts({"PART", "PART"}), Texts({"a", "b"}));
  NUVRef<NUVIUnknownList> objects;
  NUVListValNUVUnicodeString classTypes;
  AllocationFault fault(n);
  const long code = error.GetErrorInfo(objects.out(), classTypes);
  const bool struck = fault.Stop();
  if (!struck) {
    EXPECT_GE(code, 0);
    EXPECT_EQ(KeysOf(objects.get()), "K1+K2");
  }
  unsigned int count = 0;
  if (objects) objects->Count(&count);
  if (code < 0) {
    EXPECT_EQ(objects.get(), nullptr);
  } else {
    EXPECT_EQ(classTypes.Size(), static_cast<int>(count));  // one class type per object collected
  }
  return struck;
}

const AllocatingOperation kOperations[] = {
    {"NUVEdbSQLData(object list)", ObjectListInATypedValue},
    {"CreateVolatileObjectList", VolatileObjectList},
    {"NUVEdbInputTable::AppendRow", InputRow},
    {"NUVEdbAppError::CloneSelf", Clone<NUVEdbAppError>},  // the plain errors share theirs
    {"NUVEdbDeleteError::CloneSelf", Clone<NUVEdbDeleteError>},
    {"NUVEdbDeleteError::GetErrorInfo", DeleteErrorObjects},
};

class AllocationFailure : public testing::TestWithParam<AllocatingOperation> {};

TEST_P(AllocationFailure, GivesTheResultAndLeaksNothing) {
  const AllocatingOperation& operation = GetParam();
  RunAnomalyLoop(operation.name, [&](long n) {
    HostScene scene;
    scene.where = std::string(operation.name) + " failing allocation " + std::to_string(n);
    return operation.attempt(scene, n);
  });
}

INSTANTIATE_TEST_SUITE_P(Operations, AllocationFailure, testing::ValuesIn(kOperations),
                         Title<AllocatingOperation>);

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
      NUVRef<NUVIEdbSysObject> product;
      NUVRef<NUVIUnknownList> docs;
      OwnedList bindings{new NUVEdbOutputData("PART", "NAME", &name),
                         new NUVEdbOutputData("PRODUCT", "PRODUCT", *product.out()),
                         new NUVEdbOutputData("DOCUMENT", "DOCS", *docs.out())};
      OwnedList headers;
      NUVUnicodeString columns;
      NUVEdbResultTable table;
      NUVEdbBrokerTool broker;
      AllocationFault fault(n);
      broker.ExtractInputDefinition(bindings, headers, columns);
      const long code = host->Run(
          "SELECT NAME, PRODUCT, (SELECT GROUP_CONCAT(DOCNO, '+') FROM DOCUMENT D WHERE D.PART = P.ID) "
          "AS DOCS FROM PART P WHERE ID IN ('P1', 'P2')",
          table, &headers.get());
      int rows = 0;
      table.GetNumberOfRows(rows);
      for (int row = 1; row <= rows; ++row) broker.ExtractOutput(table, bindings, host->Query(), row);
      struck = fault.Stop();
      if (!struck) {
        EXPECT_GE(code, 0);
        EXPECT_EQ(rows, 2);
        EXPECT_STREQ(name.CastToCharPtr(), "Drive gear");
        EXPECT_NE(product.get(), nullptr);
        EXPECT_NE(docs.get(), nullptr);
      }
    }
    NUVError::ClearRecordedErrors();
    EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live) << "failing allocation " << n;
    return struck;
  });
}

}  // namespace
