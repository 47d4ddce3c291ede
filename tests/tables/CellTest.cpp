#include <gtest/gtest.h>

#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVMetaClass.h"
#include "TestObject.h"

namespace {
struct Snapshot {
  std::string attrName = "-";
  std::string classType = "-";
  NUVEdbObjAttrType type = EdbTypeNone;
};
Snapshot Read(const NUVEdbResultTabData& cell) {
  Snapshot s;
  NUVUnicodeString text("-");
  cell.GetAttrName(text);
  s.attrName = text.CastToCharPtr();
  text = "-";
  cell.GetClassType(text);
  s.classType = text.CastToCharPtr();
  cell.GetType(s.type);
  return s;
}
}  // namespace

TEST(Cells, HeaderAndCellTakeTheClassTypeFirst) {
  NUVEdbResultTabHdr header("A", "B", EdbTypeDouble);
  NUVUnicodeString text;
  NUVEdbObjAttrType type = EdbTypeNone;
  EXPECT_GE(header.GetClassType(text), 0);
  EXPECT_EQ(text, "A");
  EXPECT_GE(header.GetAttrName(text), 0);
  EXPECT_EQ(text, "B");
  header.GetType(type);
  EXPECT_EQ(type, EdbTypeDouble);
  EXPECT_TRUE(header.GetMetaObject()->IsAKindOf(NUVEdbAnyData::MetaObject()));
  EXPECT_FALSE(header.GetMetaObject()->IsAKindOf(NUVEdbResultTabData::MetaObject()));

  NUVEdbResultTabData unnamed("PART", "", 3);
  text = "kept";
  EXPECT_LT(unnamed.GetAttrName(text), 0);
  EXPECT_EQ(text, "kept");
  EXPECT_GE(unnamed.GetClassType(text), 0);
  EXPECT_EQ(text, "PART");
}

TEST(Cells, CopyByValueTypeCopiesScalarsAndStringsOnly) {
  auto* object = new TestObject;
  NUVRawCollint ints;
  ints.Append(1);
  const NUVEdbResultTabData integer("C", "N", 5);
  const NUVEdbResultTabData floating("C", "N", 1.5F);
  const NUVEdbResultTabData doubled("C", "N", 2.5);
  const NUVEdbResultTabData text("C", "N", NUVUnicodeString("a b"), 0);
  const NUVEdbResultTabData encoded("C", "N", NUVUnicodeString("a b"), 1);
  const NUVEdbResultTabData pointer("C", "N", static_cast<const IUnknown*>(static_cast<NUVBaseUnknown*>(object)));
  const struct {
    const NUVEdbResultTabData* source;
    NUVEdbObjAttrType type;
  } cases[] = {{&integer, EdbTypeInteger}, {&floating, EdbTypeFloat}, {&doubled, EdbTypeDouble},
               {&text, EdbTypeString},     {&encoded, EdbTypeNone},   {&pointer, EdbTypeNone}};
  for (const auto& c : cases) {
    const NUVEdbResultTabData copy(c.source);
    const Snapshot s = Read(copy);
    EXPECT_EQ(s.attrName, "N");
    EXPECT_EQ(s.classType, "C");
    EXPECT_EQ(s.type, c.type);
  }
  EXPECT_EQ(object->References(), 2U);
  int i = 0;
  EXPECT_GE(NUVEdbResultTabData(&integer).GetData(i), 0);
  EXPECT_EQ(i, 5);
  NUVUnicodeString out;
  EXPECT_GE(NUVEdbResultTabData(&text).GetData(out, 1), 0);
  EXPECT_EQ(out, "a b");

  const NUVEdbResultTabData noClass("", "N", 5);
  const Snapshot empty = Read(NUVEdbResultTabData(&noClass));
  EXPECT_EQ(empty.attrName, "-");
  EXPECT_EQ(empty.type, EdbTypeNone);
  EXPECT_EQ(Read(NUVEdbResultTabData(static_cast<const NUVEdbResultTabData*>(nullptr))).classType, "-");
  object->Release();
}
