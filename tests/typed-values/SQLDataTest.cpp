#include <gtest/gtest.h>

#include "NUVEdbSQLData.h"
#include "NUVMetaClass.h"
#include "TestLists.h"

// The broker's tests read the names and values of scalar parameters.
TEST(SQLData, ListItemsPairNamesAndValuesByNumber) {
  const struct {
    NUVListValNUVUnicodeString names;
    NUVRawCollint values;
    const char* condition;
    int item;
    bool ok;
    const char* expectName;
    int expectValue;
  } cases[] = {
      {Texts({"X", "Y", "Z"}), Values<NUVRawCollint>({1, 2}), "", 2, true, "Y", 2},
      {Texts({"X", "Y", "Z"}), Values<NUVRawCollint>({1, 2}), "", 3, false, "Z", -7},  // the name is written
      {Texts({"X", "Y", "Z"}), Values<NUVRawCollint>({1, 2}), "", 4, false, "none", -7},  // nothing written
      {Texts({"X", "Y"}), Values<NUVRawCollint>({1, 2, 3}), "", 3, false, "none", -7},
      {Texts({"X", "Y"}), Values<NUVRawCollint>({1, 2, 3}), "OR", 3, true, "X", 3},  // the first name for all
      {Texts({}), Values<NUVRawCollint>({1, 2}), "OR", 1, false, "none", -7},
  };
  for (const auto& c : cases) {
    NUVEdbSQLData p(c.names, c.values, c.condition);
    NUVUnicodeString name("none");
    int value = -7;
    EXPECT_EQ(p.GetListDataByItemNb(c.item, name, value) >= 0, c.ok) << c.item;
    EXPECT_EQ(name, c.expectName) << c.item;
    EXPECT_EQ(value, c.expectValue) << c.item;
    double d = 0;
    EXPECT_LT(p.GetListDataByItemNb(c.item, name, d), 0) << c.item;  // the values are integers
  }
  // A scalar parameter has no items.
  NUVEdbSQLData scalar("A", 5);
  NUVUnicodeString name("untouched");
  int value = 11;
  EXPECT_LT(scalar.GetParmName(1, name), 0);
  EXPECT_LT(scalar.GetListDataByItemNb(1, name, value), 0);
  EXPECT_EQ(name, "untouched");
  EXPECT_EQ(value, 11);
  EXPECT_TRUE(scalar.GetMetaObject()->IsAKindOf(NUVEdbAnyData::MetaObject()));
}

TEST(SQLData, StringListItemsDecodeOnRequestInACopy) {
  const NUVEdbSQLData p(Texts({"S1", "S2"}), Texts({"a b", "c"}), "");
  const NUVEdbSQLData copy(p);
  NUVUnicodeString name;
  NUVUnicodeString value;
  EXPECT_GE(copy.GetListDataByItemNb(1, name, value, 0), 0);
  EXPECT_EQ(value, "a%20b");
  EXPECT_GE(copy.GetListDataByItemNb(1, name, value, 1), 0);
  EXPECT_EQ(value, "a b");
  EXPECT_EQ(name, "S1");
  // Without items to count, a condition leaves the parameter without names.
  NUVEdbSQLData emptyObjects(Texts({"O"}), static_cast<const NUVIUnknownList*>(nullptr), "OR");
  EXPECT_LT(emptyObjects.GetParmName(1, name), 0);
}
