#include <functional>
#include <vector>

#include "BrokerTest.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVXHContext.h"

namespace {

NUVBaseUnknown* Text(const char* attrName, const char* value, const char* classType = "PART") {
  return new NUVEdbResultTabData(classType, attrName, NUVUnicodeString(value), 0);
}
NUVBaseUnknown* Number(const char* attrName, int value) {
  return new NUVEdbResultTabData("PART", attrName, value);
}
NUVBaseUnknown* Real(const char* attrName, double value) {
  return new NUVEdbResultTabData("PART", attrName, value);
}

// A result table of parts, and bindings for every kind of output. Row n
// describes the part Kn, of mass 10 n.
class OutputExtraction : public BrokerTest {
 protected:
  void SetUp() override {
    BrokerTest::SetUp();
    AddRow({Text("ID", "K1"), Text("NAME", "first part"), Number("MASS", 10), Real("W", 1.5),
            Text("OWNER", "K3", "ELSEWHERE"), Text("PARTS", "K1+K2")});
    AddRow({Text("ID", "K2"), Text("NAME", "second"), Number("MASS", 20), Real("W", 2.5)});
    AddRow({Text("ID", "K3"), Number("MASS", 30)});
  }
  void TearDown() override {
    if (owner) owner->Release();
    if (parts) parts->Release();
    EXPECT_EQ(ReferencesOf(host->metadataTool), 1UL);
    BrokerTest::TearDown();
  }
  void AddRow(std::initializer_list<NUVBaseUnknown*> adopted) {
    OwnedList cells(adopted);
    ASSERT_GE(NUVEdbResultTableBuilder::AppendRow(table, cells), 0);
  }
  // Binds every output variable to its attribute.
  void BindAll() {
    Bind(new NUVEdbOutputData("PART", "MASS", &mass));
    Bind(new NUVEdbOutputData("PART", "W", &weight));
    Bind(new NUVEdbOutputData("PART", "NAME", &name));
    Bind(new NUVEdbOutputData("PART", "OWNER", owner));
    Bind(new NUVEdbOutputData("PART", "PARTS", parts));
  }
  void Bind(NUVBaseUnknown* adopted) { bindings.Adopt(adopted); }
  long Extract(int n) { return broker.ExtractOutput(table, bindings, host->queryInterface, n); }
  std::string OwnerKey() const {
    NUVUnicodeString key;
    if (owner) owner->GetObjectKey(key);
    return key.CastToCharPtr();
  }

  NUVEdbResultTable table;
  OwnedList bindings;
  int mass = -1;
  double weight = -1;
  NUVUnicodeString name{"untouched"};
  NUVIEdbSysObject* owner = nullptr;
  NUVIUnknownList* parts = nullptr;
};

TEST_F(OutputExtraction, CopiesEveryKindOfValue) {
  BindAll();
  EXPECT_EQ(Extract(1), NUV_S_OK);
  EXPECT_EQ(mass, 10);
  EXPECT_EQ(weight, 1.5);
  EXPECT_STREQ(name.CastToCharPtr(), "first part");
  EXPECT_EQ(OwnerKey(), "K3");  // looked up as a PART, the binding's class type
  ASSERT_NE(parts, nullptr);
  EXPECT_EQ(KeysOf(parts), "K1+K2");
  EXPECT_EQ(ReferencesOf(owner), 1UL);
  EXPECT_EQ(ReferencesOf(parts), 1UL);
}

TEST_F(OutputExtraction, EarlyChecksFailWithNothingWritten) {
  const struct {
    const char* title;
    int row;
    bool withQuery;
    bool withBindings;
    bool offerProvider;
  } cases[] = {{"null query", 1, false, true, true},
               {"no bindings", 1, true, false, true},
               {"row 0", 0, true, true, true},
               {"row above the count", 4, true, true, true},
               {"no metadata tool", 1, true, true, false}};
  Bind(new NUVEdbOutputData("PART", "MASS", &mass));
  NUVListPtrNUVBaseUnknown none;
  for (const auto& c : cases) {
    host->offerProvider = c.offerProvider;
    const NUVIEdbSysQuery2* query = c.withQuery ? host->queryInterface : nullptr;
    NUVListPtrNUVBaseUnknown& list = c.withBindings ? bindings.get() : none;
    EXPECT_EQ(broker.ExtractOutput(table, list, query, c.row), NUV_E_FAIL) << c.title;
    EXPECT_EQ(mass, -1) << c.title;
  }
  NUVEdbResultTable empty;
  host->offerProvider = true;
  EXPECT_EQ(broker.ExtractOutput(empty, bindings, host->queryInterface, 1), NUV_E_FAIL);
  EXPECT_EQ(broker.ExtractOutput(empty, bindings, host->queryInterface, nullptr), NUV_E_FAIL);
}

TEST_F(OutputExtraction, ARowWithoutAMatchingCellFails) {
  Bind(new NUVEdbOutputData("PART", "NOPE", &mass));
  Bind(new NUVEdbSQLData("MASS", 1));
  Bind(nullptr);
  EXPECT_EQ(Extract(1), NUV_E_FAIL);
  EXPECT_EQ(mass, -1);
}

TEST_F(OutputExtraction, EachCellGoesToTheFirstBindingOfItsName) {
  int second = -1;
  Bind(nullptr);
  Bind(new NUVEdbOutputData("PART", "MASS", &mass));
  Bind(new NUVEdbOutputData("PART", "MASS", &second));
  AddRow({Number("MASS", 1), Number("MASS", 2)});
  EXPECT_EQ(Extract(4), NUV_S_OK);
  EXPECT_EQ(mass, 2);  // the later cell of the same name wins
  EXPECT_EQ(second, -1);
}

TEST_F(OutputExtraction, ManyBindingsKeepTheirListOrder) {
  // More than eight, with one name bound first and again last.
  std::vector<int> unrelated(10, -1);
  int second = -1;
  Bind(new NUVEdbOutputData("PART", "MASS", &mass));
  for (int& variable : unrelated) Bind(new NUVEdbOutputData("PART", "NONE", &variable));
  Bind(new NUVEdbOutputData("PART", "MASS", &second));
  EXPECT_EQ(Extract(3), NUV_S_OK);
  EXPECT_EQ(mass, 30);
  EXPECT_EQ(second, -1);
  EXPECT_EQ(unrelated, std::vector<int>(10, -1));
}

TEST_F(OutputExtraction, MatchesThatCannotBeWrittenStillSucceed) {
  AddRow({Number("W", 7), Text("OWNER", "K9"), Text("PARTS", "K1"),
          new NUVEdbResultTabData("PART", "MASS", 1.5F)});
  Bind(new NUVEdbOutputData("PART", "W", &weight));
  Bind(new NUVEdbOutputData("PART", "OWNER", owner));
  Bind(new NUVEdbOutputData("NOSUCH", "PARTS", parts));
  Bind(new NUVEdbOutputData("PART", "MASS", &mass));
  EXPECT_EQ(Extract(4), NUV_S_OK);
  EXPECT_EQ(weight, -1);
  EXPECT_EQ(owner, nullptr);
  EXPECT_EQ(parts, nullptr);
  EXPECT_EQ(mass, -1);
}

TEST_F(OutputExtraction, ObjectFormFindsTheObjectsRow) {
  Bind(new NUVEdbOutputData("PART", "MASS", &mass));
  const struct {
    const char* key;
    long code;
    int mass;
  } cases[] = {{nullptr, NUV_S_OK, 10}, {"K2", NUV_S_OK, 20}, {"K3", NUV_S_OK, 30}, {"K9", NUV_E_FAIL, -1}};
  for (const auto& c : cases) {
    mass = -1;
    NUVIEdbSysObject* object = c.key ? Object("PART", c.key) : nullptr;
    EXPECT_EQ(broker.ExtractOutput(table, bindings, host->queryInterface, object), c.code);
    EXPECT_EQ(mass, c.mass);
    if (object) object->Release();
  }
}

TEST_F(OutputExtraction, FindRowNumber) {
  NUVIEdbSysObject* k3 = Object("PART", "K3");
  NUVIEdbSysObject* doc = Object("DOC", "D1");
  EXPECT_EQ(broker.FindRowNumber(k3, table, 3), 3);
  EXPECT_EQ(broker.FindRowNumber(k3, table, 1), 3);  // the count only has to be positive
  EXPECT_EQ(broker.FindRowNumber(k3, table, 0), 0);
  EXPECT_EQ(broker.FindRowNumber(nullptr, table, 3), 0);
  EXPECT_EQ(broker.FindRowNumber(doc, table, 3), 0);  // no DOCNO column
  host->objects.failAt = HostScript::kEveryCall;      // nothing of the object can be read
  EXPECT_EQ(broker.FindRowNumber(k3, table, 3), 0);
  host->objects.Reset();
  host->offerProvider = false;
  EXPECT_EQ(broker.FindRowNumber(k3, table, 3), 0);
  k3->Release();
  doc->Release();
}

TEST_F(OutputExtraction, FindRowNumberCountsOnlyRowsWithAKeyCell) {
  NUVEdbResultTable sparse;
  OwnedList first{Number("MASS", 1)};
  OwnedList second{Text("ID", "K2")};
  NUVEdbResultTableBuilder::AppendRow(sparse, first);
  NUVEdbResultTableBuilder::AppendRow(sparse, second);
  NUVIEdbSysObject* k2 = Object("PART", "K2");
  EXPECT_EQ(broker.FindRowNumber(k2, sparse, 2), 1);
  k2->Release();
}

TEST_F(OutputExtraction, PlatformErrorInAHostCallKeepsWhatWasWritten) {
  BindAll();
  host->query.raiseAt = 1;
  EXPECT_EQ(Extract(1), NUV_E_FAIL);
  EXPECT_EQ(mass, 10);
  EXPECT_STREQ(name.CastToCharPtr(), "first part");
  EXPECT_EQ(owner, nullptr);
  EXPECT_EQ(parts, nullptr);
  EXPECT_EQ(FlushesSinceSetUp(), 1);

  host->query.Reset();
  host->metadata.raiseAt = 1;
  NUVIEdbSysObject* k2 = Object("PART", "K2");
  EXPECT_EQ(broker.FindRowNumber(k2, table, 3), 0);
  EXPECT_EQ(FlushesSinceSetUp(), 2);
  k2->Release();
}

TEST_F(OutputExtraction, ErrorWhileObtainingTheMetadataToolReachesTheCaller) {
  Bind(new NUVEdbOutputData("PART", "MASS", &mass));
  NUVIEdbSysObject* k2 = Object("PART", "K2");
  const std::function<void()> calls[] = {
      [&] { Extract(1); },
      [&] { broker.FindRowNumber(k2, table, 3); },
      [&] { broker.ExtractOutput(table, bindings, host->queryInterface, k2); },
  };
  for (const auto& call : calls) {
    host->provider.Reset();
    host->provider.raiseAt = 1;
    NUVXHContext frame;
    EXPECT_FALSE(frame.Run(call));
  }
  EXPECT_EQ(FlushesSinceSetUp(), 0);
  EXPECT_EQ(mass, -1);
  k2->Release();
}

TEST_F(OutputExtraction, ForeignErrorInAHostCallReachesTheCaller) {
  BindAll();
  host->query.raiseAt = 1;
  host->wide.raiseForeign = true;
  NUVXHContext frame;
  EXPECT_FALSE(frame.Run([&] { Extract(1); }));
  EXPECT_EQ(FlushesSinceSetUp(), 0);
  EXPECT_EQ(mass, 10);
}

}  // namespace
