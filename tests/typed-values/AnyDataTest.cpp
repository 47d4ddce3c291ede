#include <gtest/gtest.h>

#include "NUVEdbAnyData.h"
#include "NUVIUnknownListImpl.h"
#include "TestObject.h"

namespace {

// A list holding the given objects (null entries allowed), with one reference.
NUVIUnknownList* MakeList(std::initializer_list<IUnknown*> items) {
  auto* impl = new NUVIUnknownListImpl;
  NUVIUnknownList* list = nullptr;
  impl->QueryInterface(IID_NUVIUnknownList, reinterpret_cast<void**>(&list));
  impl->Release();
  unsigned int position = 0;
  for (IUnknown* item : items) list->Add(position++, item);
  return list;
}

int TagOf(const NUVEdbAnyData& value, int n) {
  void* out = nullptr;
  if (value.GetData(n, IID_TestSecond, &out) < 0) return -1;
  auto* second = static_cast<TestSecond*>(out);
  const int tag = second->Tag();
  second->Release();
  return tag;
}

}  // namespace

TEST(AnyData, ScalarAccessorsServeOnlyTheirOwnTag) {
  NUVEdbAnyData value;
  NUVEdbObjAttrType type = EdbTypeDouble;
  EXPECT_GE(value.GetType(type), 0);
  EXPECT_EQ(type, EdbTypeNone);
  int integer = 99;
  EXPECT_LT(value.GetData(integer), 0);
  EXPECT_EQ(integer, 99);
  EXPECT_LT(value.SetData(5), 0);
  EXPECT_GE(value.SetType(EdbTypeInteger), 0);
  EXPECT_GE(value.SetData(5), 0);
  EXPECT_GE(value.GetData(integer), 0);
  EXPECT_EQ(integer, 5);

  NUVEdbAnyData floating(1.5F);
  double d = 7.0;
  float f = 0.0F;
  EXPECT_LT(floating.GetData(d), 0);
  EXPECT_LT(floating.GetData(integer), 0);
  EXPECT_GE(floating.GetData(f), 0);
  EXPECT_EQ(f, 1.5F);
  EXPECT_EQ(d, 7.0);
}

TEST(AnyData, SetTypeKeepsEveryStoredValue) {
  NUVEdbAnyData value(7);
  value.SetType(EdbTypeDouble);
  double d = -1.0;
  EXPECT_GE(value.GetData(d), 0);
  EXPECT_EQ(d, 0.0);
  EXPECT_GE(value.SetData(2.5), 0);
  value.SetType(EdbTypeInteger);
  int i = 0;
  EXPECT_GE(value.GetData(i), 0);
  EXPECT_EQ(i, 7);
  for (int unlisted : {9, 1000}) {
    value.SetType(static_cast<NUVEdbObjAttrType>(unlisted));
    NUVEdbObjAttrType type = EdbTypeNone;
    value.GetType(type);
    EXPECT_EQ(type, unlisted);
    int size = 5;
    EXPECT_LT(value.GetData(i), 0);
    EXPECT_LT(value.GetData(d), 0);
    EXPECT_LT(value.SetData(1), 0);
    EXPECT_LT(value.GetListSize(size), 0);
    EXPECT_EQ(size, 0);
  }
}

TEST(AnyData, InterfacePointerReferencesBalance) {
  auto* a = new TestObject(1);
  auto* b = new TestObject(2);
  {
    NUVEdbAnyData value(static_cast<IUnknown*>(static_cast<NUVBaseUnknown*>(a)));
    EXPECT_EQ(a->References(), 2U);
    EXPECT_LT(value.SetData(static_cast<const IUnknown*>(nullptr)), 0);
    EXPECT_EQ(a->References(), 2U);
    EXPECT_GE(value.SetData(static_cast<const IUnknown*>(static_cast<NUVBaseUnknown*>(b))), 0);
    EXPECT_EQ(a->References(), 1U);
    EXPECT_EQ(b->References(), 2U);
    EXPECT_GE(value.SetData(static_cast<const IUnknown*>(static_cast<NUVBaseUnknown*>(b))), 0);
    EXPECT_EQ(b->References(), 2U);

    NUVEdbAnyData copy(value);
    NUVEdbAnyData assigned;
    assigned = value;
    NUVEdbAnyData& alias = assigned;
    assigned = alias;  // self-assignment keeps every count
    EXPECT_EQ(b->References(), 4U);
    value.SetType(EdbTypeInteger);  // does not release
    EXPECT_EQ(b->References(), 4U);

    NUVEdbAnyData wrongTag(3);
    EXPECT_LT(wrongTag.SetData(static_cast<const IUnknown*>(static_cast<NUVBaseUnknown*>(a))), 0);
    EXPECT_EQ(a->References(), 1U);
  }
  EXPECT_EQ(b->References(), 1U);
  a->Release();
  b->Release();
}

TEST(AnyData, InterfaceQueryClearsTheOutPointerFirst) {
  auto* object = new TestObject(4);
  NUVEdbAnyData value(static_cast<IUnknown*>(static_cast<NUVBaseUnknown*>(object)));
  object->Release();
  EXPECT_LT(value.GetData(IID_TestSecond, nullptr), 0);
  void* out = &value;
  EXPECT_GE(value.GetData(IID_TestSecond, &out), 0);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(static_cast<TestSecond*>(out)->Tag(), 4);
  static_cast<TestSecond*>(out)->Release();
  const GUID unknownIid{1, 2, 3, {}};
  out = &value;
  EXPECT_EQ(value.GetData(unknownIid, &out), NUV_E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);

  NUVEdbAnyData empty(static_cast<const IUnknown*>(nullptr));
  out = &value;
  EXPECT_LT(empty.GetData(IID_TestSecond, &out), 0);
  EXPECT_EQ(out, nullptr);
}

TEST(AnyData, StringsAreHeldEncodedAndDecodedOnRequest) {
  const NUVUnicodeString text("O'Neil plate");
  const NUVUnicodeString encoded = NUVEdbAnyData::EncodeBlanks(text);
  NUVEdbAnyData plain(text, 0);
  NUVEdbAnyData kept(text, 1);
  NUVUnicodeString out;
  EXPECT_GE(plain.GetData(out, 1), 0);
  EXPECT_EQ(out, text);
  EXPECT_GE(plain.GetData(out, 0), 0);
  EXPECT_EQ(out, encoded);
  for (unsigned char decode : {0, 1}) {
    EXPECT_GE(kept.GetData(out, decode), 0);
    EXPECT_EQ(out, encoded);
  }
  EXPECT_GE(kept.SetData(NUVUnicodeString("a b")), 0);
  NUVEdbObjAttrType type = EdbTypeNone;
  kept.GetType(type);
  EXPECT_EQ(type, EdbTypeEncodedString);
  int size = 3;
  EXPECT_LT(kept.GetListSize(size), 0);
  EXPECT_EQ(size, 0);
}

TEST(AnyData, CollectionSettersAppendAndItemsAreNumberedFromOne) {
  NUVRawCollint empty;
  NUVEdbAnyData value(empty);
  int size = -1;
  EXPECT_GE(value.GetListSize(size), 0);
  EXPECT_EQ(size, 0);
  NUVRawCollint first;
  first.Append(1);
  first.Append(2);
  NUVRawCollint second;
  second.Append(3);
  EXPECT_GE(value.SetData(first), 0);
  EXPECT_GE(value.SetData(second), 0);
  EXPECT_LT(value.SetData(empty), 0);
  value.GetListSize(size);
  EXPECT_EQ(size, 3);
  int item = 42;
  for (int bad : {0, -1, 4}) {
    EXPECT_LT(value.GetData(bad, item), 0);
    EXPECT_EQ(item, 42);
  }
  EXPECT_GE(value.GetData(3, item), 0);
  EXPECT_EQ(item, 3);
  double d = 0;
  EXPECT_LT(value.GetData(1, d), 0);

  NUVListValNUVUnicodeString strings;
  strings.Append("a b");
  NUVEdbAnyData list(strings);
  NUVUnicodeString s;
  EXPECT_GE(list.GetData(1, s, 1), 0);
  EXPECT_EQ(s, "a b");
  EXPECT_GE(list.GetData(1, s, 0), 0);
  EXPECT_EQ(s, "a%20b");
  EXPECT_LT(list.SetData(NUVUnicodeString("x")), 0);
}

TEST(AnyData, InterfaceListKeepsNonNullItemsInOrder) {
  auto* a = new TestObject(1);
  auto* c = new TestObject(3);
  NUVIUnknownList* source = MakeList({static_cast<NUVBaseUnknown*>(a), nullptr, static_cast<NUVBaseUnknown*>(c)});
  {
    NUVEdbAnyData value(source);
    int size = 0;
    EXPECT_GE(value.GetListSize(size), 0);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(TagOf(value, 1), 1);
    EXPECT_EQ(TagOf(value, 2), 3);
    EXPECT_EQ(TagOf(value, 3), -1);
    EXPECT_EQ(a->References(), 3U);  // ours, the source's, the value's list's
    const GUID unknownIid{9, 9, 9, {}};
    void* out = nullptr;
    EXPECT_EQ(value.GetData(1, unknownIid, &out), NUV_E_NOINTERFACE);
    EXPECT_EQ(a->References(), 3U);

    NUVIUnknownList* empty = MakeList({});
    EXPECT_LT(value.SetData(empty), 0);  // keeps the list
    value.GetListSize(size);
    EXPECT_EQ(size, 2);
    NUVIUnknownList* nulls = MakeList({nullptr, nullptr});
    EXPECT_LT(value.SetData(nulls), 0);  // no list any more
    EXPECT_LT(value.GetListSize(size), 0);
    EXPECT_EQ(a->References(), 2U);
    empty->Release();
    nulls->Release();
  }
  NUVEdbAnyData none(static_cast<const NUVIUnknownList*>(nullptr));
  int size = 9;
  EXPECT_LT(none.GetListSize(size), 0);
  EXPECT_EQ(size, 0);
  source->Release();
  a->Release();
  c->Release();
}

TEST(AnyData, InterfaceListAllocationFailureLeavesNoList) {
  auto* a = new TestObject(1);
  NUVIUnknownList* source = MakeList({static_cast<NUVBaseUnknown*>(a)});
  NUVEdbAnyData value(EdbTypeObjectList);
  NUVBaseUnknown::FailAllocationAt(1);
  EXPECT_LT(value.SetData(source), 0);
  int size = 0;
  EXPECT_LT(value.GetListSize(size), 0);
  EXPECT_EQ(a->References(), 2U);
  source->Release();
  a->Release();
}
