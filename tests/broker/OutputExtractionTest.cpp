#include <vector>

#include "BrokerTest.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"

namespace {

NUVBaseUnknown* Cell(const char* attrName, const char* text, const char* classType = "PART") {
  return new NUVEdbResultTabData(classType, attrName, NUVUnicodeString(text), 0);
}
template <class T>
NUVBaseUnknown* Cell(const char* attrName, T value) {
  return new NUVEdbResultTabData("PART", attrName, value);
}

// A result table of parts, and bindings for every kind of output. Row n
// describes the part Kn, of mass 10 n.
class OutputExtraction : public BrokerTest {
 protected:
  void SetUp() override {
    BrokerTest::SetUp();
    AddRow(table, {Cell("ID", "K1"), Cell("NAME", "first part"), Cell("MASS", 10), Cell("W", 1.5),
                   Cell("OWNER", "K3", "ELSEWHERE"), Cell("PARTS", "K1+K2")});
    AddRow(table, {Cell("ID", "K2"), Cell("NAME", "second"), Cell("MASS", 20), Cell("W", 2.5)});
    AddRow(table, {Cell("ID", "K3"), Cell("MASS", 30)});
  }
  void TearDown() override {
    owner.Reset();
    parts.Reset();
    BrokerTest::TearDown();
  }
  static void AddRow(NUVEdbResultTable& to, std::initializer_list<NUVBaseUnknown*> adopted) {
    OwnedList cells(adopted);
    ASSERT_GE(NUVEdbResultTableBuilder::AppendRow(to, cells), 0);
  }
  // Appends a binding of the attribute to the variable.
  template <class Target>
  void Bind(const char* attrName, Target&& target, const char* classType = "PART") {
    bindings.Adopt(new NUVEdbOutputData(classType, attrName, std::forward<Target>(target)));
  }
  long Extract(int n) { return broker.ExtractOutput(table, bindings, host->queryInterface.get(), n); }

  NUVEdbResultTable table;
  OwnedList bindings;
  int mass = -1;
  double weight = -1;
  NUVUnicodeString name{"untouched"};
  NUVRef<NUVIEdbSysObject> owner;  // bound: extraction writes a reference into it
  NUVRef<NUVIUnknownList> parts;
};

TEST_F(OutputExtraction, CopiesEveryKindOfValue) {
  Bind("MASS", &mass);
  Bind("W", &weight);
  Bind("NAME", &name);
  Bind("OWNER", *owner.out());
  Bind("PARTS", *parts.out());
  EXPECT_EQ(Extract(1), NUV_S_OK);
  EXPECT_EQ(mass, 10);
  EXPECT_EQ(weight, 1.5);
  EXPECT_STREQ(name.CastToCharPtr(), "first part");
  ASSERT_NE(owner.get(), nullptr);
  NUVUnicodeString ownerKey;
  owner->GetObjectKey(ownerKey);
  EXPECT_STREQ(ownerKey.CastToCharPtr(), "K3");  // looked up as a PART, the binding's class type
  EXPECT_EQ(KeysOf(parts.get()), "K1+K2");
}

TEST_F(OutputExtraction, FailsWithNothingWritten) {
  const NUVIEdbSysQuery2* query = host->queryInterface.get();
  NUVListPtrNUVBaseUnknown none;
  NUVEdbResultTable empty;
  OwnedList unmatched{new NUVEdbOutputData("PART", "NOPE", &mass), new NUVEdbSQLData("MASS", 1), nullptr};
  Bind("MASS", &mass);
  EXPECT_EQ(broker.ExtractOutput(table, bindings, nullptr, 1), NUV_E_FAIL);
  EXPECT_EQ(broker.ExtractOutput(table, none, query, 1), NUV_E_FAIL);
  EXPECT_EQ(broker.ExtractOutput(table, bindings, query, 0), NUV_E_FAIL);
  EXPECT_EQ(broker.ExtractOutput(table, bindings, query, 4), NUV_E_FAIL);
  EXPECT_EQ(broker.ExtractOutput(table, unmatched, query, 1), NUV_E_FAIL);
  EXPECT_EQ(broker.ExtractOutput(empty, bindings, query, 1), NUV_E_FAIL);
  EXPECT_EQ(broker.ExtractOutput(empty, bindings, query, nullptr), NUV_E_FAIL);
  EXPECT_EQ(broker.ExtractOutput(table, bindings, query, Object("PART", "K9")), NUV_E_FAIL);
  host->offerProvider = false;  // no metadata tool
  EXPECT_EQ(Extract(1), NUV_E_FAIL);
  EXPECT_EQ(mass, -1);
}

TEST_F(OutputExtraction, ManyBindingsKeepTheirListOrder) {
  // Each cell goes to the first binding of its name, a later cell of the
  // same name winning, with few bindings and with more than sixteen.
  AddRow(table, {Cell("MASS", 1), Cell("MASS", 2)});
  for (const size_t unrelated : {0, 20}) {
    std::vector<int> others(unrelated, -1);
    int second = -1;
    mass = -1;
    bindings.Clear();
    bindings.Adopt(nullptr);
    Bind("MASS", &mass);
    for (int& other : others) Bind("NONE", &other);
    Bind("MASS", &second);
    EXPECT_EQ(Extract(4), NUV_S_OK);
    EXPECT_EQ(mass, 2) << unrelated;
    EXPECT_EQ(second, -1) << unrelated;
    EXPECT_EQ(others, std::vector<int>(unrelated, -1));
  }
}

// Texts arrive as the cell's getter gives them with the decode flag: a string
// decoded, an encoded string as stored. A cell without a class type is
// passed over; names that differ only after their first byte, or that start
// with a non-ASCII character, are matched whole. A match whose value is of
// another type, whose object is missing or whose class is unknown writes
// nothing and still succeeds.
TEST_F(OutputExtraction, TextsArriveAsTheirGetterGivesThemAndNamesMatchWhole) {
  AddRow(table, {Cell("TXT", "a b"), new NUVEdbResultTabData("PART", "ENC", NUVUnicodeString("a b"), 1),
                 Cell("NOCLASS", "x", ""), Cell("MAST", 7), Cell("\xC3\x84LTER", "old"), Cell("W", 7),
                 Cell("OWNER", "K9"), Cell("PARTS", "K1"), Cell("MASS", 1.5F)});
  NUVUnicodeString decoded, stored, noClass{"untouched"}, older;
  Bind("TXT", &decoded);
  Bind("ENC", &stored);
  Bind("NOCLASS", &noClass);
  Bind("MASS", &mass);
  Bind("\xC3\x84LTER", &older);
  Bind("W", &weight);
  Bind("OWNER", *owner.out());
  Bind("PARTS", *parts.out(), "NOSUCH");
  EXPECT_EQ(Extract(4), NUV_S_OK);
  EXPECT_STREQ(decoded.CastToCharPtr(), "a b");
  EXPECT_STREQ(stored.CastToCharPtr(), "a%20b");
  EXPECT_STREQ(noClass.CastToCharPtr(), "untouched");
  EXPECT_EQ(mass, -1);
  EXPECT_STREQ(older.CastToCharPtr(), "old");
  EXPECT_EQ(weight, -1);
  EXPECT_EQ(owner.get(), nullptr);
  EXPECT_EQ(parts.get(), nullptr);
}

TEST_F(OutputExtraction, FindsTheObjectsRow) {
  NUVIEdbSysObject* k3 = Object("PART", "K3");
  Bind("MASS", &mass);
  EXPECT_EQ(broker.ExtractOutput(table, bindings, host->queryInterface.get(), nullptr), NUV_S_OK);  // row 1
  EXPECT_EQ(mass, 10);
  EXPECT_EQ(broker.ExtractOutput(table, bindings, host->queryInterface.get(), k3), NUV_S_OK);
  EXPECT_EQ(mass, 30);
  EXPECT_EQ(broker.FindRowNumber(k3, table, 1), 3);  // the count only has to be positive
  EXPECT_EQ(broker.FindRowNumber(k3, table, 0), 0);
  EXPECT_EQ(broker.FindRowNumber(nullptr, table, 3), 0);
  EXPECT_EQ(broker.FindRowNumber(Object("DOC", "D1"), table, 3), 0);  // no DOCNO column
  NUVEdbResultTable sparse;
  AddRow(sparse, {Cell("MASS", 1)});
  AddRow(sparse, {Cell("ID", "K3")});
  EXPECT_EQ(broker.FindRowNumber(k3, sparse, 2), 1);  // only rows with a key cell count
  host->objects.failAt = HostScript::kEveryCall;      // nothing of the object can be read
  EXPECT_EQ(broker.FindRowNumber(k3, table, 3), 0);
  host->objects.Reset();
  host->offerProvider = false;
  EXPECT_EQ(broker.FindRowNumber(k3, table, 3), 0);
}

TEST_F(OutputExtraction, KeysFollowTheClassOfTheObjectOrBinding) {
  // DOC's key attribute is DOCNO; LOOSE's objects exist but it has none.
  host->schema["DOC"].keys.insert("D 2");
  host->schema["LOOSE"] = {"", {"L1"}};
  NUVEdbResultTable docs;
  AddRow(docs, {Cell("DOCNO", "D1", "DOC"), Cell("ID", "K2", "DOC")});
  AddRow(docs, {Cell("DOCNO", "D 2", "DOC"), Cell("ID", "K1", "DOC"), Cell("OWNER", "D 2", "DOC"),
                Cell("LOOSE", "L1", "LOOSE"), Cell("DOCS", "D1+D 2", "DOC")});
  EXPECT_EQ(broker.FindRowNumber(Object("DOC", "D 2"), docs, 2), 2);
  EXPECT_EQ(broker.FindRowNumber(Object("DOC", "K1"), docs, 2), 0);

  NUVRef<NUVIUnknownList> loose;
  NUVRef<NUVIUnknownList> documents;
  Bind("OWNER", *owner.out(), "DOC");
  Bind("LOOSE", *loose.out(), "LOOSE");
  Bind("DOCS", *documents.out(), "DOC");
  EXPECT_EQ(broker.ExtractOutput(docs, bindings, host->queryInterface.get(), 2), NUV_S_OK);
  ASSERT_NE(owner.get(), nullptr);  // looked up by its decoded key, blank included
  NUVUnicodeString key;
  owner->GetObjectKey(key);
  EXPECT_STREQ(key.CastToCharPtr(), "D 2");
  EXPECT_EQ(loose.get(), nullptr);  // a class without a key attribute gives no list
  EXPECT_EQ(KeysOf(documents.get()), "D1+D 2");
}

}  // namespace
