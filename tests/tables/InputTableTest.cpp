#include <gtest/gtest.h>

#include "NUVEdbInputTable.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVEdbSQLData.h"

namespace {
unsigned long References(NUVBaseUnknown* object) {
  object->AddRef();
  return object->Release();
}
}  // namespace

TEST(InputTable, RowsKeepOnlyParametersAndAreReadBackByNumber) {
  auto* a = new NUVEdbSQLData("A", 1);
  auto* b = new NUVEdbSQLData("B", 2);
  auto* foreign = new NUVEdbResultTabHdr("C", "X", EdbTypeInteger);
  {
    NUVEdbInputTable table;
    NUVListPtrNUVBaseUnknown empty;
    EXPECT_LT(table.AppendRow(empty), 0);
    NUVListPtrNUVBaseUnknown first;
    first.Append(a);
    first.Append(nullptr);
    first.Append(foreign);
    NUVListPtrNUVBaseUnknown second;
    second.Append(b);
    second.Append(a);
    NUVListPtrNUVBaseUnknown onlyForeign;
    onlyForeign.Append(foreign);
    EXPECT_GE(table.AppendRow(first), 0);
    EXPECT_GE(table.AppendRow(second), 0);
    EXPECT_GE(table.AppendRow(onlyForeign), 0);  // an empty row
    EXPECT_EQ(first.Size(), 3);
    int count = 0;
    table.GetNumberOfRows(count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(References(a), 3U);
    EXPECT_EQ(References(foreign), 1U);

    NUVListPtrNUVBaseUnknown out;
    EXPECT_GE(table.GetRow(2, out), 0);
    ASSERT_EQ(out.Size(), 2);
    EXPECT_EQ(out[1], b);
    EXPECT_EQ(out[2], a);
    EXPECT_EQ(References(a), 4U);
    out[1]->Release();
    out[2]->Release();
    NUVListPtrNUVBaseUnknown none;
    EXPECT_GE(table.GetRow(4, none), 0);
    EXPECT_GE(table.GetRow(0, none), 0);
    EXPECT_LT(table.GetRow(-1, none), 0);
    EXPECT_EQ(none.Size(), 0);

    NUVEdbInputTable copy(table);
    NUVEdbInputTable assigned;
    assigned = copy;
    NUVBaseUnknown::FailAllocationAt(1);
    EXPECT_LT(assigned.AppendRow(second), 0);
    assigned.GetNumberOfRows(count);
    EXPECT_EQ(count, 3);
  }
  EXPECT_EQ(References(a), 1U);
  EXPECT_EQ(References(b), 1U);
  a->Release();
  b->Release();
  foreign->Release();
}
