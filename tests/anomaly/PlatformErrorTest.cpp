#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "AnomalyLoop.h"
#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbDeleteError.h"
#include "NUVEdbGeneralTool.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVEdbSQLData.h"
#include "NUVEdsMetadataTool.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVInternalError.h"
#include "NUVXHContext.h"
#include "TestLists.h"

// Every operation that calls the host inside a guarded body, run with a
// platform error raised at its n-th host call for n = 1, 2, ... A raise in a
// guarded body is flushed once and gives the documented result; one outside
// them, or an error of another kind, reaches the caller's frame unflushed.
// Nothing ever leaks.

namespace {

// An operation: its run, which checks the result when it returns, and the
// host calls at which a raise passes to the caller by design.
struct GuardedOperation {
  const char* name;
  std::set<long> escapesAt;
  std::function<void(HostScene&)> run;
};

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

void InputDefinition(HostScene& scene) {
  auto object = NUVRef<NUVIEdbSysObject>::Adopt(new TestHostObject(*scene.host, "PART", "K1"));
  OwnedList parameters{new NUVEdbSQLData("D", object.get()), new NUVEdbSQLData("Q", 7)};
  NUVUnicodeString text;
  const long code = NUVEdbBrokerTool().ExtractInputDefinition(parameters, text);
  scene.Quiet();
  if (scene.Raised()) {
    EXPECT_EQ(code, NUV_E_FAIL);
  } else {
    EXPECT_STREQ(text.CastToCharPtr(), "D = 'K1' , Q = 7");
  }
}

// A table of parts: row n describes Kn.
void FillParts(NUVEdbResultTable& table) {
  for (const char* key : {"K1", "K2", "K3"}) {
    OwnedList cells{new NUVEdbResultTabData("PART", "ID", NUVUnicodeString(key), 0),
                    new NUVEdbResultTabData("PART", "MASS", 10),
                    new NUVEdbResultTabData("PART", "OWNER", NUVUnicodeString("K3"), 0),
                    new NUVEdbResultTabData("PART", "PARTS", NUVUnicodeString("K1+K2"), 0)};
    NUVEdbResultTableBuilder::AppendRow(table, cells);
  }
}

// Extracts every kind of output from the parts table's row 2. A raise
// while the object list is made is absorbed there: the cell still counts as
// matched and nothing is written for it. Any other raise fails the
// extraction, keeping what was written before.
void Extract(HostScene& scene) {
  NUVEdbResultTable table;
  FillParts(table);
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

void FindRow(HostScene& scene) {
  NUVEdbResultTable table;
  FillParts(table);
  auto object = NUVRef<NUVIEdbSysObject>::Adopt(new TestHostObject(*scene.host, "PART", "K2"));
  const int row = NUVEdbBrokerTool().FindRowNumber(object.get(), table, 3);
  scene.Quiet();
  EXPECT_EQ(row, scene.Raised() ? 0 : 2);  // every host call comes before the match
}

void CheckError(HostScene& scene) {
  const long recorded =
      NUVError::GetReturn(0, NUVAdopt(new NUVInternalError(9, "M", "C")).get(), nullptr, __FILE__, __LINE__);
  EXPECT_EQ(NUVEdbGeneralTool().CheckError(recorded, "a", "b"), 1);  // not fatal, raised or not
  EXPECT_EQ(scene.host->reports.size(), scene.Raised() ? 0U : 1U);
  scene.Quiet();
}

void DatabaseHandle(HostScene& scene) {
  NUVRef<NUVIEdbDatabaseHandle> handle;
  const long code =
      NUVEdbGeneralTool().GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, handle.out_void());
  scene.Quiet();
  EXPECT_EQ(code < 0, scene.Raised());
  EXPECT_EQ(handle.get() == nullptr, scene.Raised());
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

const GuardedOperation kOperations[] = {
    {"PreProcessSQLStatement", {}, PreProcess},
    {"ExtractInputDefinition(parameters)", {}, InputDefinition},
    {"ExtractOutput", {2}, Extract},
    {"FindRowNumber", {2}, FindRow},
    {"CheckError", {}, CheckError},
    {"GetCurrentDatabaseHandle", {}, DatabaseHandle},
    {"GetMetadataTool", {2}, MetadataTool},
    {"NUVEdbDeleteError::GetErrorInfo", {}, DeleteErrorObjects},
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

INSTANTIATE_TEST_SUITE_P(Operations, PlatformError, testing::ValuesIn(kOperations), Title<GuardedOperation>);

}  // namespace
