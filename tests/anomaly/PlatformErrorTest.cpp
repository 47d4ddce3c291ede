#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <set>
#include <string>

#include "AnomalyLoop.h"
#include "HostObjectLists.h"
#include "HostScene.h"
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
// platform error raised at the n-th host call for n = 1, 2, ... until a run
// makes no host call n. A raise inside a guarded body is flushed once and
// gives the documented result; one raised where the operation calls the
// host outside its guarded bodies reaches the caller's frame unflushed. An
// error of another kind always reaches the caller's frame, unflushed. In
// every case nothing leaks.

namespace {

// One operation: how to run it on a scene, checking its result when it
// returns, and the host calls at which a raise passes to the caller by
// design.
struct GuardedOperation {
  const char* name;
  std::set<long> escapesAt;
  std::function<void(HostScene&, long n)> run;
};

// Whether the scene's host has raised.
bool Raised(const HostScene& scene) { return scene.host->wide.raises > 0; }

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

void PreProcess(HostScene& scene, long) {
  NUVIEdbSysObject* object = new TestHostObject(*scene.host, "PART", "K1");
  NUVIUnknownList* objects = HostObjectList(*scene.host, "PART", {"K1", "K2"});
  OwnedList parameters{new NUVEdbSQLData(":N", NUVUnicodeString("x"), 0), new NUVEdbSQLData(":OBJ", object),
                       new NUVEdbSQLData(Texts({"ID="}), objects, "OR")};
  object->Release();
  objects->Release();
  NUVUnicodeString result;
  const long code = NUVEdbBrokerTool().PreProcessSQLStatement(":N :OBJ ID=", parameters, result);
  scene.Quiet();
  const std::string text = result.CastToCharPtr();
  if (Raised(scene)) {
    EXPECT_EQ(code, NUV_E_FAIL);
    EXPECT_EQ(text.rfind("'x' ", 0), 0U) << text;  // the substitution made before stays
  } else {
    EXPECT_EQ(text, "'x' K1  (  ID=K1 OR  ID=K2 ) ");
  }
}

void InputDefinition(HostScene& scene, long) {
  NUVIEdbSysObject* object = new TestHostObject(*scene.host, "PART", "K1");
  OwnedList parameters{new NUVEdbSQLData("D", object), new NUVEdbSQLData("Q", 7)};
  object->Release();
  NUVUnicodeString text;
  const long code = NUVEdbBrokerTool().ExtractInputDefinition(parameters, text);
  scene.Quiet();
  if (Raised(scene)) {
    EXPECT_EQ(code, NUV_E_FAIL);
  } else {
    EXPECT_STREQ(text.CastToCharPtr(), "D = 'K1' , Q = 7");
  }
}

void VolatileObjectList(HostScene& scene, long) {
  NUVIUnknownList* list = nullptr;
  NUV_RELEASE_AT_EXIT(list);
  const long code = NUVEdbBrokerTool().CreateVolatileObjectList("PART", "ID", "K1+K2+K3", list);
  scene.Quiet();
  const std::string keys = KeysOf(list);
  if (Raised(scene)) {
    EXPECT_EQ(code, NUV_E_FAIL);
    EXPECT_EQ(std::string("K1+K2+K3").rfind(keys, 0), 0U) << keys;  // what was added stays
  } else {
    EXPECT_EQ(keys, "K1+K2+K3");
  }
}

// Bindings for every kind of output of the parts table.
struct PartBindings {
  int mass = -1;
  NUVIEdbSysObject* owner = nullptr;
  NUVIUnknownList* parts = nullptr;
  OwnedList list{new NUVEdbOutputData("PART", "MASS", &mass), new NUVEdbOutputData("PART", "OWNER", owner),
                 new NUVEdbOutputData("PART", "PARTS", parts)};
  ~PartBindings() {
    if (owner) owner->Release();
    if (parts) parts->Release();
  }
};

// A raise while the object list is made is absorbed by that operation: the
// cell still counts as matched and nothing is written for it. Any other
// raise fails the extraction, keeping what was written before.
void ExpectRaisedExtraction(const HostScene& scene, long code, const PartBindings& bindings) {
  if (code >= 0) {
    EXPECT_EQ(bindings.parts, nullptr);
    EXPECT_NE(bindings.owner, nullptr);
    return;
  }
  EXPECT_EQ(code, NUV_E_FAIL);
  if (scene.host->query.calls > 0) {
    EXPECT_EQ(bindings.mass, 10);  // raised after the first cell was written
  }
}

void ExtractRow(HostScene& scene, long) {
  NUVEdbResultTable table;
  FillParts(table);
  PartBindings bindings;
  const long code = NUVEdbBrokerTool().ExtractOutput(table, bindings.list, scene.host->queryInterface, 2);
  scene.Quiet();
  if (Raised(scene)) {
    ExpectRaisedExtraction(scene, code, bindings);
  } else {
    EXPECT_GE(code, 0);
    EXPECT_NE(bindings.owner, nullptr);
    EXPECT_EQ(KeysOf(bindings.parts), "K1+K2");
  }
}

void ExtractObjectsRow(HostScene& scene, long) {
  NUVEdbResultTable table;
  FillParts(table);
  PartBindings bindings;
  NUVIEdbSysObject* object = new TestHostObject(*scene.host, "PART", "K2");
  NUV_RELEASE_AT_EXIT(object);
  const long code =
      NUVEdbBrokerTool().ExtractOutput(table, bindings.list, scene.host->queryInterface, object);
  scene.Quiet();
  if (Raised(scene)) {
    ExpectRaisedExtraction(scene, code, bindings);
  } else {
    EXPECT_GE(code, 0);
    EXPECT_EQ(bindings.mass, 10);
  }
}

void FindRow(HostScene& scene, long) {
  NUVEdbResultTable table;
  FillParts(table);
  NUVIEdbSysObject* object = new TestHostObject(*scene.host, "PART", "K2");
  NUV_RELEASE_AT_EXIT(object);
  const int row = NUVEdbBrokerTool().FindRowNumber(object, table, 3);
  scene.Quiet();
  EXPECT_EQ(row, Raised(scene) ? 0 : 2);  // every host call comes before the match
}

void CheckError(HostScene& scene, long) {
  auto* error = new NUVInternalError(9, "M", "C");
  const long recorded = NUVError::GetReturn(0, error, nullptr, __FILE__, __LINE__);
  error->Release();
  EXPECT_EQ(NUVEdbGeneralTool().CheckError(recorded, "a", "b"), 1);  // not fatal, raised or not
  EXPECT_EQ(scene.host->reports.size(), Raised(scene) ? 0U : 1U);
  scene.Quiet();
}

void DatabaseHandle(HostScene& scene, long) {
  NUVIEdbDatabaseHandle* handle = nullptr;
  NUV_RELEASE_AT_EXIT(handle);
  const long code = NUVEdbGeneralTool().GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle,
                                                                 reinterpret_cast<void**>(&handle));
  scene.Quiet();
  EXPECT_EQ(code < 0, Raised(scene));
  EXPECT_EQ(handle == nullptr, Raised(scene));
}

void MetadataTool(HostScene& scene, long) {
  NUVEdsMetadataTool* tool = NUVEdbGeneralTool().GetMetadataTool();
  scene.Quiet();
  NUV_RELEASE_AT_EXIT(tool);
  EXPECT_EQ(tool == nullptr, Raised(scene));
}

void DeleteErrorObjects(HostScene& scene, long) {
  NUVEdbDeleteError error(3U);
  error.SetErrorInfo(Texts({"K1", "K2"}), Texts({"PART", "PART"}), Texts({"a", "b"}));
  NUVIUnknownList* objects = nullptr;
  NUV_RELEASE_AT_EXIT(objects);
  NUVListValNUVUnicodeString classTypes;
  const long code = error.GetErrorInfo(&objects, classTypes);
  scene.Quiet();
  if (Raised(scene)) {
    EXPECT_EQ(code, NUV_E_FAIL);
    EXPECT_EQ(objects, nullptr);
  } else {
    EXPECT_EQ(KeysOf(objects), "K1+K2");
  }
}

const GuardedOperation kOperations[] = {
    {"PreProcessSQLStatement", {}, PreProcess},
    {"ExtractInputDefinition(parameters)", {}, InputDefinition},
    {"CreateVolatileObjectList", {}, VolatileObjectList},
    {"ExtractOutput(row)", {2}, ExtractRow},
    {"ExtractOutput(object)", {2}, ExtractObjectsRow},
    {"FindRowNumber", {2}, FindRow},
    {"CheckError", {}, CheckError},
    {"GetCurrentDatabaseHandle", {}, DatabaseHandle},
    {"GetMetadataTool", {2}, MetadataTool},
    {"NUVEdbDeleteError::GetErrorInfo", {}, DeleteErrorObjects},
};

// One run of the operation with a raise at host call n; answers whether
// the host raised.
bool RaiseAt(const GuardedOperation& operation, long n, bool foreign) {
  HostScene scene;
  scene.where = std::string(operation.name) + " raising at host call " + std::to_string(n);
  scene.host->wide.raiseAt = static_cast<int>(n);
  scene.host->wide.raiseForeign = foreign;
  bool completed = false;
  {
    NUVXHContext frame;
    completed = frame.Run([&] { operation.run(scene, n); });
  }
  if (!Raised(scene)) {
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
  const long points = RunAnomalyLoop(operation.name, [&](long n) { return RaiseAt(operation, n, false); });
  EXPECT_GT(points, 0) << operation.name << " made no host call";
}

TEST_P(PlatformError, OfAnotherKindReachesTheCaller) {
  const GuardedOperation& operation = GetParam();
  RunAnomalyLoop(operation.name, [&](long n) { return RaiseAt(operation, n, true); });
}

std::string Title(const testing::TestParamInfo<GuardedOperation>& info) {
  std::string title;
  for (const char* c = info.param.name; *c; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c))) title += *c;
  }
  return title;
}

INSTANTIATE_TEST_SUITE_P(Operations, PlatformError, testing::ValuesIn(kOperations), Title);

}  // namespace
