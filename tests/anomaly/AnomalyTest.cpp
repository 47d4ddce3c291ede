// The anomaly loops: every operation run with its n-th allocation failing,
// or with a platform error raised at its n-th host call, for n = 1, 2, ...
// until the failure no longer strikes.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <set>
#include <string>

#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbDeleteError.h"
#include "NUVEdbGeneralTool.h"
#include "NUVEdbInputTable.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVEdbSQLData.h"
#include "NUVEdsMetadataTool.h"
#include "NUVInternalError.h"
#include "NUVRef.h"
#include "NUVSqliteHost.h"
#include "NUVXHContext.h"
#include "TestHost.h"
#include "TestHostObject.h"
#include "TestLists.h"

namespace {

// Makes the n-th base-object allocation from now answer null; Stop (or the
// end of the object) withdraws the fault.
class AllocationFault {
 public:
  explicit AllocationFault(long n) : n_(n), before_(NUVBaseUnknown::AllocationCount()) {
    NUVBaseUnknown::FailAllocationAt(n);
  }
  ~AllocationFault() { NUVBaseUnknown::FailAllocationAt(0); }
  // Withdraws the fault; answers whether it struck.
  bool Stop() const {
    NUVBaseUnknown::FailAllocationAt(0);
    return NUVBaseUnknown::AllocationCount() - before_ >= n_;
  }

 private:
  long n_;
  long before_;
};

// A fresh test host installed for one attempt. On leaving it checks that
// every object and reference taken during the attempt was given back.
class HostScene {
  long live_;  // first, so that it is read before the host exists

 public:
  HostScene()
      : live_(NUVBaseUnknown::LiveObjectCount()), host(NUVAdopt(new TestHost)), flushes_(NUVFlushCount()) {
    host->Install();
  }
  ~HostScene() {
    TestHost::Uninstall();
    EXPECT_EQ(TestHostObject::Live(), 0) << where;
    EXPECT_EQ(ReferencesOf(host.get()), 1UL) << where;
    host.Reset();
    NUVError::ClearRecordedErrors();
    EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live_) << where;
  }

  // Stops raising, so that checking a result makes no raise of its own.
  void Quiet() { host->wide.raiseAt = 0; }
  bool Raised() const { return host->wide.raises > 0; }
  long Flushes() const { return NUVFlushCount() - flushes_; }

  NUVRef<TestHost> host;
  std::string where;  // names the attempt in failure messages

 private:
  long flushes_;
};

// Runs attempt(n) for n = 1, 2, ..., one failure point each, until the
// failure no longer strikes; answers the number of points.
long RunAnomalyLoop(const char* operation, const std::function<bool(long n)>& attempt) {
  constexpr long kMaxPoints = 10000;
  long n = 1;
  while (n <= kMaxPoints && attempt(n) && !testing::Test::HasFatalFailure()) ++n;
  EXPECT_LE(n, kMaxPoints) << operation << " never completed";
  return n - 1;
}

// Every operation that allocates base objects, run on a fresh scene with
// its n-th allocation answering null for n = 1, 2, ... until a run
// completes untouched; each run answers whether the fault struck, gives the
// documented result and gives back all it took.
struct AllocatingOperation {
  const char* name;
  bool (*attempt)(HostScene& scene, long n);
};
// Test names and messages show an operation by its name.
void PrintTo(const AllocatingOperation& operation, std::ostream* out) { *out << operation.name; }

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

bool DeleteErrorList(HostScene&, long n) {
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

const AllocatingOperation kAllocatingOperations[] = {
    {"CreateVolatileObjectList", VolatileObjectList},
    {"InputTableAppendRow", InputRow},
    {"DeleteErrorGetErrorInfo", DeleteErrorList},
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

INSTANTIATE_TEST_SUITE_P(Operations, AllocationFailure, testing::ValuesIn(kAllocatingOperations),
                         [](const auto& info) { return std::string(info.param.name); });

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

// Every operation that calls the host inside a guarded body, run with a
// platform error raised at its n-th host call for n = 1, 2, ...; the run
// checks the result when it returns. A raise in a guarded body is flushed
// once and gives the documented result; one outside them (at the calls
// escapesAt names), or an error of another kind, reaches the caller's frame
// unflushed. Nothing ever leaks.
struct GuardedOperation {
  const char* name;
  std::set<long> escapesAt;
  std::function<void(HostScene&)> run;
};
void PrintTo(const GuardedOperation& operation, std::ostream* out) { *out << operation.name; }

void PreProcess(HostScene& scene) {
  auto object = NUVRef<NUVIEdbSysObject>::Adopt(new TestHostObject(*scene.host, "PART", "K1"));
  auto objects = NUVRef<NUVIUnknownList>::Adopt(HostObjectList(*scene.host, "PART", {"K1", "K2"}));
  OwnedList parameters{new NUVEdbSQLData(":N", NUVUnicodeString("x"), 0),
                       new NUVEdbSQLData(":OBJ", object.get()),
                       new NUVEdbSQLData(Texts({"ID="}), objects.get(), "OR")};
  NUVUnicodeString result;
  const long code = NUVEdbBrokerTool().PreProcessSQLStatement(":N :OBJ ID=", parameters, result);
  scene.Quiet();
  const std::string text = result.CastToCharPtr();
  if (scene.Raised()) {
    EXPECT_EQ(code, NUV_E_FAIL);
    EXPECT_EQ(text.rfind("'x' ", 0), 0U) << text;  // the substitution made before stays
  } else {
    EXPECT_EQ(text, "'x' K1  (  ID=K1 OR  ID=K2 ) ");
  }
}

// Extracts every kind of output from the parts table's row 2. A raise
// while the object list is made is absorbed there: the cell still counts as
// matched and nothing is written for it. Any other raise fails the
// extraction, keeping what was written before.
void Extract(HostScene& scene) {
  NUVEdbResultTable table;
  for (int row = 1; row <= 2; ++row) {
    OwnedList cells{new NUVEdbResultTabData("PART", "MASS", 10),
                    new NUVEdbResultTabData("PART", "OWNER", NUVUnicodeString("K3"), 0),
                    new NUVEdbResultTabData("PART", "PARTS", NUVUnicodeString("K1+K2"), 0)};
    NUVEdbResultTableBuilder::AppendRow(table, cells);
  }
  int mass = -1;
  NUVRef<NUVIEdbSysObject> owner;
  NUVRef<NUVIUnknownList> parts;
  OwnedList bindings{new NUVEdbOutputData("PART", "MASS", &mass),
                     new NUVEdbOutputData("PART", "OWNER", *owner.out()),
                     new NUVEdbOutputData("PART", "PARTS", *parts.out())};
  const long code = NUVEdbBrokerTool().ExtractOutput(table, bindings, scene.host->queryInterface.get(), 2);
  scene.Quiet();
  if (!scene.Raised()) {
    EXPECT_GE(code, 0);
    EXPECT_EQ(mass, 10);
    EXPECT_NE(owner.get(), nullptr);
    EXPECT_EQ(KeysOf(parts.get()), "K1+K2");
  } else if (code >= 0) {
    EXPECT_EQ(parts.get(), nullptr);
    EXPECT_NE(owner.get(), nullptr);
  } else {
    EXPECT_EQ(code, NUV_E_FAIL);
    EXPECT_TRUE(scene.host->query.calls == 0 || mass == 10)
        << mass;  // raised after the first cell was written
  }
}

void CheckError(HostScene& scene) {
  const long recorded =
      NUVError::GetReturn(0, NUVAdopt(new NUVInternalError(9, "M", "C")).get(), nullptr, __FILE__, __LINE__);
  EXPECT_EQ(NUVEdbGeneralTool().CheckError(recorded, "a", "b"), 1);  // not fatal, raised or not
  EXPECT_EQ(scene.host->reports.size(), scene.Raised() ? 0U : 1U);
  scene.Quiet();
}

void MetadataTool(HostScene& scene) {
  auto tool = NUVRef<NUVEdsMetadataTool>::Adopt(NUVEdbGeneralTool().GetMetadataTool());
  scene.Quiet();
  EXPECT_EQ(tool.get() == nullptr, scene.Raised());
}

void DeleteErrorObjects(HostScene& scene) {
  NUVEdbDeleteError error(3U);
  error.SetErrorInfo(Texts({"K1", "K2"}), Texts({"PART", "PART"}), Texts({"a", "b"}));
  NUVRef<NUVIUnknownList> objects;
  NUVListValNUVUnicodeString classTypes;
  const long code = error.GetErrorInfo(objects.out(), classTypes);
  scene.Quiet();
  if (scene.Raised()) {
    EXPECT_EQ(code, NUV_E_FAIL);
    EXPECT_EQ(objects.get(), nullptr);
  } else {
    EXPECT_EQ(KeysOf(objects.get()), "K1+K2");
  }
}

const GuardedOperation kGuardedOperations[] = {
    {"PreProcessSQLStatement", {}, PreProcess},
    {"ExtractOutput", {2}, Extract},
    {"CheckError", {}, CheckError},
    {"GetMetadataTool", {2}, MetadataTool},
    {"DeleteErrorGetErrorInfo", {}, DeleteErrorObjects},
};

// One run of the operation with a raise at host call n, of the platform's
// kind or another; answers whether the host raised.
bool RaiseAt(const GuardedOperation& operation, long n, bool foreign) {
  HostScene scene;
  scene.where = std::string(operation.name) + " raising at host call " + std::to_string(n);
  scene.host->wide.raiseAt = static_cast<int>(n);
  scene.host->wide.raiseForeign = foreign;
  bool completed = false;
  {
    NUVXHContext frame;
    completed = frame.Run([&] { operation.run(scene); });
  }
  if (!scene.Raised()) {
    EXPECT_TRUE(completed) << scene.where;
    return false;
  }
  const bool escapes = foreign || operation.escapesAt.count(n) > 0;
  EXPECT_EQ(completed, !escapes) << scene.where;
  EXPECT_EQ(scene.Flushes(), escapes ? 0 : 1) << scene.where;
  return true;
}

class PlatformError : public testing::TestWithParam<GuardedOperation> {};

TEST_P(PlatformError, IsFlushedOnceOrReachesTheCaller) {
  const GuardedOperation& operation = GetParam();
  for (const bool foreign : {false, true}) {
    const long points =
        RunAnomalyLoop(operation.name, [&](long n) { return RaiseAt(operation, n, foreign); });
    EXPECT_GT(points, 0) << operation.name << " made no host call";
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, PlatformError, testing::ValuesIn(kGuardedOperations),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
