#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "HostScript.h"
#include "NUVEdbInputTable.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVEdbResultTabRow.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVEdbSQLData.h"
#include "NUVRef.h"
#include "TestLists.h"

namespace {

NUVListPtrNUVBaseUnknown List(std::initializer_list<NUVBaseUnknown*> entries) {
  NUVListPtrNUVBaseUnknown list;
  for (NUVBaseUnknown* entry : entries) list.Append(entry);
  return list;
}

template <class Table>
int Rows(const Table& table) {
  int count = -1;
  EXPECT_GE(table.GetNumberOfRows(count), 0);
  return count;
}

// The two tables of rows: the entries a row keeps, and how a row is appended.
struct InputRows {
  using Table = NUVEdbInputTable;
  static constexpr bool kTakesEmptyLists = false;
  static NUVBaseUnknown* Entry(int value) { return new NUVEdbSQLData("P", value); }
  static long Append(Table& table, NUVListPtrNUVBaseUnknown& entries) { return table.AppendRow(entries); }
};
struct ResultRows {
  using Table = NUVEdbResultTable;
  static constexpr bool kTakesEmptyLists = true;
  static NUVBaseUnknown* Entry(int value) { return new NUVEdbResultTabData("PART", "ID", value); }
  static long Append(Table& table, NUVListPtrNUVBaseUnknown& entries) {
    return NUVEdbResultTableBuilder::AppendRow(table, entries);
  }
};

template <class Kind>
class RowTables : public ::testing::Test {};
using RowKinds = ::testing::Types<InputRows, ResultRows>;
TYPED_TEST_SUITE(RowTables, RowKinds);

NUVBaseUnknown* Cell(const char* attr, int value) { return new NUVEdbResultTabData("PART", attr, value); }

}  // namespace

TYPED_TEST(RowTables, RowsKeepOnlyTheirKindAndHandOutReferencesByNumber) {
  using Kind = TypeParam;
  OwnedList entries{Kind::Entry(1), Kind::Entry(2), new NUVEdbResultTabHdr("PART", "ID", EdbTypeInteger)};
  NUVBaseUnknown* a = entries.get()[1];  // entries holds the test's reference on each
  NUVBaseUnknown* b = entries.get()[2];
  NUVBaseUnknown* foreign = entries.get()[3];
  {
    typename Kind::Table table;
    for (auto row : {List({a, nullptr, foreign}), List({b, a}), List({foreign})}) {  // the last row is empty
      ASSERT_GE(Kind::Append(table, row), 0);
    }
    EXPECT_EQ(Rows(table), 3);
    EXPECT_EQ(ReferencesOf(a), 3U);
    EXPECT_EQ(ReferencesOf(foreign), 1U);
    const std::tuple<int, bool, int> cases[] = {{-1, false, 0}, {0, true, 0}, {1, true, 1},
                                                {2, true, 2},   {3, true, 0}, {4, true, 0}};
    for (const auto& [n, ok, size] : cases) {
      OwnedList out;
      EXPECT_EQ(table.GetRow(n, out) >= 0, ok) << n;
      ASSERT_EQ(out.get().Size(), size) << n;
      if (n == 2) {
        EXPECT_EQ(out.get()[1], b);
        EXPECT_EQ(out.get()[2], a);
        EXPECT_EQ(ReferencesOf(a), 4U);  // one for the caller
      }
    }
    NUVListPtrNUVBaseUnknown none;
    EXPECT_EQ(Kind::Append(table, none) >= 0, Kind::kTakesEmptyLists);
    const int rows = Kind::kTakesEmptyLists ? 4 : 3;
    typename Kind::Table copy(table);  // copies share the rows and release them once
    typename Kind::Table assigned;
    assigned = copy;
    // What a copy and its original append afterwards stays their own.
    auto onlyA = List({a});
    auto onlyB = List({b});
    ASSERT_GE(Kind::Append(copy, onlyA), 0);
    ASSERT_GE(Kind::Append(table, onlyB), 0);
    EXPECT_EQ(Rows(assigned), rows);
    for (const auto& [of, entry] : {std::pair{&table, b}, {&copy, a}}) {
      OwnedList row;
      EXPECT_GE(of->GetRow(rows + 1, row), 0);
      ASSERT_EQ(row.get().Size(), 1);
      EXPECT_EQ(row.get()[1], entry);
    }
  }
  EXPECT_EQ(ReferencesOf(a), 1U);
  EXPECT_EQ(ReferencesOf(b), 1U);
}

TEST(ResultTable, GetColumnTakesTheFirstMatchingCellOfEachRow) {
  OwnedList cells{Cell("NAME", 1), Cell("NAME", 2), Cell("MASS", 3), Cell("", 4), Cell("NAME", 5)};
  NUVListPtrNUVBaseUnknown& c = cells;
  NUVEdbResultTable table;
  for (auto row : {List({c[1], c[2]}), List({c[3]}), List({c[4], c[5]})}) {
    NUVEdbResultTableBuilder::AppendRow(table, row);
  }
  NUVEdbObjAttrType type = EdbTypeNone;
  OwnedList column;
  EXPECT_GE(table.GetColumn("NAME", type, column), 0);
  ASSERT_EQ(column.get().Size(), 2);
  EXPECT_EQ(column.get()[1], c[1]);
  EXPECT_EQ(column.get()[2], c[5]);
  EXPECT_EQ(type, EdbTypeInteger);
  column.Clear();
  type = EdbTypeDouble;
  EXPECT_LT(table.GetColumn("", type, column), 0);
  EXPECT_GE(table.GetColumn("ABSENT", type, column), 0);
  EXPECT_EQ(type, EdbTypeDouble);
  EXPECT_EQ(column.get().Size(), 0);
}

TEST(ResultTable, HeaderIsSetOnceAndGetHeaderAppends) {
  OwnedList entries{new NUVEdbResultTabHdr("PART", "ID", EdbTypeInteger), nullptr, Cell("ID", 1)};
  NUVBaseUnknown* header = entries.get()[1];
  NUVEdbResultTable table;
  EXPECT_GE(table.SetHeader(List({})), 0);
  EXPECT_GE(table.SetHeader(entries), 0);
  EXPECT_LT(table.SetHeader(entries), 0);
  EXPECT_EQ(ReferencesOf(header), 2U);
  const NUVEdbResultTable copy(table);
  EXPECT_EQ(ReferencesOf(header), 3U);
  OwnedList out{nullptr};
  EXPECT_GE(copy.GetHeader(out), 0);
  ASSERT_EQ(out.get().Size(), 2);
  EXPECT_EQ(out.get()[2], header);
}

TEST(ResultTable, RowCopiesKeepTheCellsAndReleaseThemOnce) {
  OwnedList list{Cell("X", 1)};
  NUVBaseUnknown* cell = list.get()[1];
  auto row = NUVAdopt(new NUVEdbResultTabRow(list));
  auto rowCopy = NUVAdopt(new NUVEdbResultTabRow(*row));
  *rowCopy = *row;
  NUVEdbResultTabRow& alias = *rowCopy;
  *rowCopy = alias;  // self-assignment keeps the cells
  EXPECT_EQ(ReferencesOf(cell), 3U);
  rowCopy.Reset();
  row.Reset();
  EXPECT_EQ(ReferencesOf(cell), 1U);
}

TEST(ResultTable, ARowMayTakeOverTheReferencesOfItsCells) {
  NUVEdbResultTable table;
  const long live = NUVBaseUnknown::LiveObjectCount();
  auto* kept = new NUVEdbResultTabData("PART", "ID", 7);
  auto* stranger = new NUVEdbResultTabHdr("PART", "ID", EdbTypeInteger);  // no cell: released
  NUVListPtrNUVBaseUnknown list = List({kept, nullptr, stranger});
  ASSERT_GE(NUVEdbResultTableBuilder::AppendRowTakingCells(table, list), 0);
  EXPECT_EQ(list.Size(), 0);
  EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live + 2);  // the cell and its row
  EXPECT_EQ(ReferencesOf(kept), 1U);                       // the row's, taken over
  OwnedList out;
  ASSERT_GE(table.GetRow(1, out), 0);
  ASSERT_EQ(out.get().Size(), 1);
  EXPECT_EQ(out.get()[1], kept);
  OwnedList refused{Cell("ID", 8)};
  NUVEdbResultTabData::FailAllocationAt(1);  // the row
  EXPECT_LT(NUVEdbResultTableBuilder::AppendRowTakingCells(table, refused), 0);
  EXPECT_EQ(refused.get().Size(), 1);  // left as it was, with its reference
  EXPECT_EQ(Rows(table), 1);
}
