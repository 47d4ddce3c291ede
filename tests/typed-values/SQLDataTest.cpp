#include <gtest/gtest.h>

#include "NUVEdbSQLData.h"
#include "NUVMetaClass.h"

namespace {
NUVListValNUVUnicodeString Names(std::initializer_list<const char*> names) {
  NUVListValNUVUnicodeString list;
  for (const char* name : names) list.Append(name);
  return list;
}
NUVRawCollint Ints(std::initializer_list<int> values) {
  NUVRawCollint list;
  for (int v : values) list.Append(v);
  return list;
}
}  // namespace

TEST(SQLData, ScalarParameterHasANameAndNoItems) {
  NUVEdbSQLData p("A", 5);
  NUVUnicodeString name;
  EXPECT_GE(p.GetParmName(name), 0);
  EXPECT_EQ(name, "A");
  NUVUnicodeString other("untouched");
  EXPECT_LT(p.GetParmName(1, other), 0);
  EXPECT_EQ(other, "untouched");
  NUVUnicodeString condition("x");
  EXPECT_GE(p.GetParmCondition(condition), 0);
  EXPECT_EQ(condition, "");
  int size = 0;
  int value = 11;
  EXPECT_LT(p.GetListSize(size), 0);
  EXPECT_LT(p.GetListDataByItemNb(1, other, value), 0);
  EXPECT_EQ(other, "untouched");
  EXPECT_EQ(value, 11);
  EXPECT_TRUE(p.GetMetaObject()->IsAKindOf(NUVEdbAnyData::MetaObject()));
}

TEST(SQLData, ListItemsPairNamesAndValuesByNumber) {
  struct Case {
    NUVListValNUVUnicodeString names;
    NUVRawCollint values;
    const char* condition;
    int item;
    long expectSign;  // 1 success, -1 failure
    const char* expectName;
    int expectValue;
  };
  const Case cases[] = {
      {Names({"X", "Y", "Z"}), Ints({1, 2}), "", 2, 1, "Y", 2},
      {Names({"X", "Y", "Z"}), Ints({1, 2}), "", 3, -1, "Z", -7},       // name written, value fails
      {Names({"X", "Y", "Z"}), Ints({1, 2}), "", 4, -1, "none", -7},    // nothing written
      {Names({"X", "Y"}), Ints({1, 2, 3}), "", 3, -1, "none", -7},
      {Names({"X", "Y"}), Ints({1, 2, 3}), "OR", 3, 1, "X", 3},         // condition: first name everywhere
      {Names({}), Ints({1, 2}), "OR", 1, -1, "none", -7},
  };
  for (const Case& c : cases) {
    NUVEdbSQLData p(c.names, c.values, c.condition);
    NUVUnicodeString name("none");
    int value = -7;
    const long result = p.GetListDataByItemNb(c.item, name, value);
    EXPECT_EQ(result >= 0 ? 1 : -1, c.expectSign) << c.item;
    EXPECT_EQ(name, c.expectName) << c.item;
    EXPECT_EQ(value, c.expectValue) << c.item;
    double d = 0;
    if (c.expectSign > 0) {
      EXPECT_LT(p.GetListDataByItemNb(c.item, name, d), 0);
    }
  }
}

TEST(SQLData, StringListItemsDecodeOnRequestAndCopiesAreIndependent) {
  NUVListValNUVUnicodeString values = Names({"a b", "c"});
  NUVEdbSQLData p(Names({"S1", "S2"}), values, "");
  NUVEdbSQLData copy(p);
  NUVUnicodeString name;
  NUVUnicodeString value;
  EXPECT_GE(copy.GetListDataByItemNb(1, name, value, 0), 0);
  EXPECT_EQ(value, "a%20b");
  EXPECT_GE(copy.GetListDataByItemNb(1, name, value, 1), 0);
  EXPECT_EQ(value, "a b");
  EXPECT_EQ(name, "S1");
  NUVEdbSQLData emptyObjects(Names({"O"}), static_cast<const NUVIUnknownList*>(nullptr), "OR");
  EXPECT_LT(emptyObjects.GetParmName(1, name), 0);
}
