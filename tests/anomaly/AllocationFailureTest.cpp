#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "AnomalyLoop.h"
#include "HostObjectLists.h"
#include "HostScene.h"
#include "NUVEdbAppError.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbDeleteError.h"
#include "NUVEdbInputTable.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVEdbSQLData.h"
#include "NUVEdbWPError.h"
#include "NUVEdbWPObjError.h"
#include "TestLists.h"

// Every operation that allocates base objects, run with the n-th
// allocation answering null for n = 1, 2, ... until a run completes
// untouched. Each run must give the documented result and give back every
// object and reference it took.

namespace {

TEST(AllocationFailure, ObjectListInATypedValue) {
  RunAnomalyLoop("NUVEdbSQLData(object list)", [](long n) {
    HostScene scene;
    NUVIUnknownList* objects = HostObjectList(*scene.host, "PART", {"K1", "K2"});
    AllocationFault fault(n);
    auto* parameter = new NUVEdbSQLData(Texts({"ID="}), objects, "OR");
    const bool struck = fault.Stop();
    int count = -1;
    if (parameter) parameter->GetListSize(count);
    if (!struck) {
      EXPECT_EQ(count, 2);
    } else if (parameter) {
      EXPECT_LT(count, 2);  // the item whose list could not be made is skipped
    }
    if (parameter) parameter->Release();
    objects->Release();
    return struck;
  });
}

TEST(AllocationFailure, VolatileObjectList) {
  RunAnomalyLoop("CreateVolatileObjectList", [](long n) {
    HostScene scene;
    NUVEdbBrokerTool broker;
    NUVIUnknownList* list = nullptr;
    AllocationFault fault(n);
    const long code = broker.CreateVolatileObjectList("PART", "ID", "K1+K2+K3", list);
    const bool struck = fault.Stop();
    const std::string keys = KeysOf(list);
    if (!struck) {
      EXPECT_GE(code, 0);
      EXPECT_EQ(keys, "K1+K2+K3");
    } else {
      // One object, or the list itself, is missing; the others are there.
      EXPECT_LT(keys.size(), std::string("K1+K2+K3").size()) << keys;
    }
    if (list) list->Release();
    return struck;
  });
}

TEST(AllocationFailure, HeadersOfAnInputDefinition) {
  RunAnomalyLoop("ExtractInputDefinition(headers)", [](long n) {
    HostScene scene;
    int a = 0;
    int b = 0;
    NUVEdbOutputData first("PART", "A", &a);
    NUVEdbOutputData second("PART", "B", &b);
    NUVListPtrNUVBaseUnknown bindings;
    bindings.Append(&first);
    bindings.Append(&second);
    OwnedList headers;
    NUVUnicodeString text;
    AllocationFault fault(n);
    const long code = NUVEdbBrokerTool().ExtractInputDefinition(bindings, headers, text);
    const bool struck = fault.Stop();
    EXPECT_GE(code, 0);
    EXPECT_EQ(headers.get().Size(), struck ? 1 : 2);
    EXPECT_STREQ(text.CastToCharPtr(), struck ? (n == 1 ? "B" : "A") : "A, B");
    return struck;
  });
}

// Appends one row made of the adopted entry to a new table of the kind.
template <class Table, class Append>
void RowLoop(const char* operation, NUVBaseUnknown* (*entry)(), Append append) {
  RunAnomalyLoop(operation, [&](long n) {
    HostScene scene;
    OwnedList entries{entry()};
    Table table;
    AllocationFault fault(n);
    const long code = append(table, entries.get());
    const bool struck = fault.Stop();
    int rows = -1;
    table.GetNumberOfRows(rows);
    EXPECT_EQ(code < 0, struck);
    EXPECT_EQ(rows, struck ? 0 : 1);
    return struck;
  });
}

TEST(AllocationFailure, RowsOfTables) {
  RowLoop<NUVEdbInputTable>(
      "NUVEdbInputTable::AppendRow", []() -> NUVBaseUnknown* { return new NUVEdbSQLData(":ID", 1); },
      [](NUVEdbInputTable& table, NUVListPtrNUVBaseUnknown& row) { return table.AppendRow(row); });
  RowLoop<NUVEdbResultTable>(
      "NUVEdbResultTableBuilder::AppendRow",
      []() -> NUVBaseUnknown* { return new NUVEdbResultTabData("PART", "ID", 1); },
      [](NUVEdbResultTable& table, NUVListPtrNUVBaseUnknown& row) {
        return NUVEdbResultTableBuilder::AppendRow(table, row);
      });
}

// Clones an error of each class.
template <class Error>
void CloneLoop(const char* operation) {
  RunAnomalyLoop(operation, [](long n) {
    HostScene scene;
    Error error(7U, "M", "C");
    AllocationFault fault(n);
    NUVError* clone = error.CloneSelf();
    const bool struck = fault.Stop();
    EXPECT_EQ(clone == nullptr, struck);
    if (clone) {
      EXPECT_EQ(clone->GetId(), 7U);
      clone->Release();
    }
    return struck;
  });
}

TEST(AllocationFailure, Clones) {
  CloneLoop<NUVEdbAppError>("NUVEdbAppError::CloneSelf");
  CloneLoop<NUVEdbWPError>("NUVEdbWPError::CloneSelf");
  CloneLoop<NUVEdbWPObjError>("NUVEdbWPObjError::CloneSelf");
  CloneLoop<NUVEdbDeleteError>("NUVEdbDeleteError::CloneSelf");
}

TEST(AllocationFailure, DeleteErrorObjects) {
  RunAnomalyLoop("NUVEdbDeleteError::GetErrorInfo", [](long n) {
    HostScene scene;
    NUVEdbDeleteError error(3U);
    error.SetErrorInfo(Texts({"K1", "K2"}), Texts({"PART", "PART"}), Texts({"a", "b"}));
    NUVIUnknownList* objects = nullptr;
    NUVListValNUVUnicodeString classTypes;
    AllocationFault fault(n);
    const long code = error.GetErrorInfo(&objects, classTypes);
    const bool struck = fault.Stop();
    if (!struck) {
      EXPECT_GE(code, 0);
      EXPECT_EQ(KeysOf(objects), "K1+K2");
    }
    if (code < 0) {
      EXPECT_EQ(objects, nullptr);
    }
    unsigned int count = 0;
    if (objects) objects->Count(&count);
    if (code >= 0) {
      EXPECT_EQ(classTypes.Size(), static_cast<int>(count));  // one class type per object collected
    }
    if (objects) objects->Release();
    return struck;
  });
}

TEST(AllocationFailure, ObjectOutputs) {
  RunAnomalyLoop("ExtractOutput(object, object list)", [](long n) {
    HostScene scene;
    NUVEdbResultTable table;
    OwnedList cells{new NUVEdbResultTabData("PART", "OWNER", NUVUnicodeString("K3"), 0),
                    new NUVEdbResultTabData("PART", "PARTS", NUVUnicodeString("K1+K2"), 0)};
    NUVEdbResultTableBuilder::AppendRow(table, cells);
    NUVIEdbSysObject* owner = nullptr;
    NUVIUnknownList* parts = nullptr;
    OwnedList bindings{new NUVEdbOutputData("PART", "OWNER", owner),
                       new NUVEdbOutputData("PART", "PARTS", parts)};
    AllocationFault fault(n);
    const long code = NUVEdbBrokerTool().ExtractOutput(table, bindings, scene.host->queryInterface, 1);
    const bool struck = fault.Stop();
    EXPECT_GE(code, 0);  // both cells matched, whatever could be written
    if (!struck) {
      EXPECT_NE(owner, nullptr);
      EXPECT_EQ(KeysOf(parts), "K1+K2");
    }
    if (owner) owner->Release();
    if (parts) parts->Release();
    return struck;
  });
}

}  // namespace
