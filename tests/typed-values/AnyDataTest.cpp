#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "NUVEdbAnyData.h"
#include "NUVIUnknownListImpl.h"
#include "NUVRef.h"
#include "TestLists.h"
#include "TestObject.h"

namespace {

// A list holding the given objects (null entries allowed).
NUVRef<NUVIUnknownList> MakeList(std::initializer_list<TestObject*> items) {
  auto list = NUVRef<NUVIUnknownList>::Adopt(new NUVIUnknownListImpl);
  unsigned int position = 0;
  for (TestObject* item : items) list->Add(position++, static_cast<NUVBaseUnknown*>(item));
  return list;
}

const IUnknown* AsUnknown(const NUVRef<TestObject>& object) {
  return static_cast<NUVBaseUnknown*>(object.get());
}

// The tag of the object item n (0: the single pointer) answers for; -1 on
// failure, -2 for want of the interface, when the single pointer is cleared.
int TagOf(const NUVEdbAnyData& value, int n = 0, const GUID& iid = IID_TestSecond) {
  void* out = &out;
  const long code = n ? value.GetData(n, iid, &out) : value.GetData(iid, &out);
  if (code < 0) {
    EXPECT_TRUE(n != 0 || out == nullptr);
    return code == NUV_E_NOINTERFACE ? -2 : -1;
  }
  auto* second = static_cast<TestSecond*>(out);
  const int tag = second->Tag();
  second->Release();
  return tag;
}

// The number of items, or -1 (with the size read as 0) when there is no list.
int SizeOf(const NUVEdbAnyData& value) {
  int size = 9;
  if (value.GetListSize(size) >= 0) return size;
  EXPECT_EQ(size, 0);
  return -1;
}

}  // namespace

TEST(AnyData, ScalarAndStringAccessorsServeOnlyTheirOwnType) {
  // The accessors a type serves: 1 int, 2 float, 4 double, 8 string; 9 and 1000 are no types.
  const std::pair<int, int> cases[] = {
      {EdbTypeNone, 0},   {EdbTypeInteger, 1},       {EdbTypeFloat, 2},  {EdbTypeDouble, 4},
      {EdbTypeString, 8}, {EdbTypeEncodedString, 8}, {EdbTypeObject, 0}, {9, 0},
      {1000, 0}};
  auto mask = [](long i, long f, long d, long s) {
    return (i >= 0 ? 1 : 0) + (f >= 0 ? 2 : 0) + (d >= 0 ? 4 : 0) + (s >= 0 ? 8 : 0);
  };
  const NUVUnicodeString text("a b");
  for (const auto& [type, served] : cases) {
    SCOPED_TRACE(type);
    NUVEdbAnyData value(static_cast<NUVEdbObjAttrType>(type));
    int i = -1;
    float f = -1;
    double d = -1;
    NUVUnicodeString s("-");
    EXPECT_EQ(mask(value.SetData(1), value.SetData(2.0F), value.SetData(3.0), value.SetData(text)), served);
    EXPECT_EQ(mask(value.GetData(i), value.GetData(f), value.GetData(d), value.GetData(s, 1)), served);
    EXPECT_EQ(i, served == 1 ? 1 : -1);
    EXPECT_EQ(f, served == 2 ? 2.0F : -1.0F);
    EXPECT_EQ(d, served == 4 ? 3.0 : -1.0);
    EXPECT_EQ(s, served != 8 ? "-" : type == EdbTypeString ? "a b" : "a%20b");  // stored encoded
    EXPECT_EQ(SizeOf(value), -1);
  }

  NUVEdbAnyData value(7);  // SetType keeps the value stored for each type
  value.SetType(EdbTypeDouble);
  value.SetData(2.5);
  value.SetType(EdbTypeInteger);
  int i = 0;
  EXPECT_GE(value.GetData(i), 0);
  EXPECT_EQ(i, 7);
  NUVUnicodeString s;  // a string made encoded or decoded is held encoded
  EXPECT_GE(NUVEdbAnyData(text, 0).GetData(s, 0), 0);
  EXPECT_EQ(s, "a%20b");
  EXPECT_GE(NUVEdbAnyData(text, 1).GetData(s, 1), 0);
  EXPECT_EQ(s, "a%20b");
}

TEST(AnyData, InterfacePointerReferencesBalanceAndQueriesClearTheOutPointer) {
  auto a = NUVAdopt(new TestObject(1));
  auto b = NUVAdopt(new TestObject(2));
  {
    NUVEdbAnyData value(AsUnknown(a));
    EXPECT_EQ(a->References(), 2U);
    EXPECT_LT(value.SetData(static_cast<const IUnknown*>(nullptr)), 0);
    EXPECT_EQ(a->References(), 2U);
    EXPECT_GE(value.SetData(AsUnknown(b)), 0);
    EXPECT_GE(value.SetData(AsUnknown(b)), 0);  // the same object again
    EXPECT_EQ(a->References(), 1U);
    EXPECT_EQ(b->References(), 2U);
    EXPECT_EQ(TagOf(value), 2);
    EXPECT_EQ(TagOf(value, 0, GUID{1, 2, 3, {}}), -2);
    EXPECT_LT(value.GetData(IID_TestSecond, nullptr), 0);

    NUVEdbAnyData copy(value);
    NUVEdbAnyData assigned;
    assigned = value;
    NUVEdbAnyData& alias = assigned;
    assigned = alias;               // self-assignment keeps every count
    value.SetType(EdbTypeInteger);  // does not release
    EXPECT_EQ(b->References(), 4U);
    EXPECT_EQ(TagOf(value), -1);
    NUVEdbAnyData wrongType(3);
    EXPECT_LT(wrongType.SetData(AsUnknown(a)), 0);
    EXPECT_EQ(a->References(), 1U);
  }
  EXPECT_EQ(b->References(), 1U);
  EXPECT_EQ(TagOf(NUVEdbAnyData(static_cast<const IUnknown*>(nullptr))), -1);
}

// An object that writes each reference change it sees to a shared log.
struct LoggedObject : IUnknown {
  LoggedObject(char name, std::string& log) : name(name), log(log) {}
  long QueryInterface(const GUID&, void**) override { return NUV_E_NOINTERFACE; }
  unsigned long AddRef() override { return Log('+'); }
  unsigned long Release() override { return Log('-'); }
  unsigned long Log(char change) {
    log += {change, name};
    return 1;
  }
  char name;
  std::string& log;
};

TEST(AnyData, SettingAnInterfaceReleasesTheHeldOneBeforeReferencingTheNewOne) {
  std::string log;
  LoggedObject a('a', log);
  LoggedObject b('b', log);
  {
    NUVEdbAnyData value(static_cast<const IUnknown*>(&a));
    EXPECT_GE(value.SetData(static_cast<const IUnknown*>(&b)), 0);
    EXPECT_GE(value.SetData(static_cast<const IUnknown*>(&b)), 0);
  }
  EXPECT_EQ(log, "+a-a+b-b+b-b");
}

// The parameters' tests read the items of other types and decode strings.
TEST(AnyData, CollectionSettersAppendAndItemsAreNumberedFromOne) {
  NUVEdbAnyData value{NUVRawCollint()};
  EXPECT_EQ(SizeOf(value), 0);
  EXPECT_GE(value.SetData(Values<NUVRawCollint>({1, 2})), 0);
  EXPECT_GE(value.SetData(Values<NUVRawCollint>({3})), 0);
  EXPECT_LT(value.SetData(NUVRawCollint()), 0);
  EXPECT_EQ(SizeOf(value), 3);
  int item = 42;
  for (int bad : {0, -1, 4}) {
    EXPECT_LT(value.GetData(bad, item), 0);
    EXPECT_EQ(item, 42);
  }
  EXPECT_GE(value.GetData(3, item), 0);
  EXPECT_EQ(item, 3);
}

TEST(AnyData, InterfaceListKeepsNonNullItemsInOrder) {
  auto a = NUVAdopt(new TestObject(1));
  auto c = NUVAdopt(new TestObject(3));
  auto source = MakeList({a.get(), nullptr, c.get()});
  auto empty = MakeList({});
  auto nulls = MakeList({nullptr, nullptr});
  {
    NUVEdbAnyData value(source.get());
    EXPECT_EQ(SizeOf(value), 2);
    EXPECT_EQ(TagOf(value, 1), 1);
    EXPECT_EQ(TagOf(value, 2), 3);
    EXPECT_EQ(TagOf(value, 3), -1);
    EXPECT_EQ(TagOf(value, 1, GUID{9, 9, 9, {}}), -2);
    EXPECT_EQ(a->References(), 3U);  // ours, the source's, the value's list's

    EXPECT_LT(value.SetData(empty.get()), 0);  // keeps the list
    EXPECT_EQ(SizeOf(value), 2);
    EXPECT_LT(value.SetData(nulls.get()), 0);  // no list any more
    EXPECT_EQ(SizeOf(value), -1);
    EXPECT_EQ(a->References(), 2U);
  }
  EXPECT_EQ(SizeOf(NUVEdbAnyData(static_cast<const NUVIUnknownList*>(nullptr))), -1);
}
