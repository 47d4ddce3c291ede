#include <gtest/gtest.h>

#include <vector>

#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVEdbResultTabRow.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"

namespace {

unsigned long References(NUVBaseUnknown* object) {
  object->AddRef();
  return object->Release();
}

void ReleaseList(NUVListPtrNUVBaseUnknown& list) {
  for (int i = 1; i <= list.Size(); ++i) {
    if (list[i]) list[i]->Release();
  }
  list.RemoveAll(NUVCollec::FreeMemory);
}

// A table of rows built from the given cells; the test keeps its creation
// references on the cells in `cells`.
class ResultTable : public ::testing::Test {
 protected:
  NUVEdbResultTabData* Cell(const char* attr, int value) {
    auto* cell = new NUVEdbResultTabData("PART", attr, value);
    cells.push_back(cell);
    return cell;
  }
  void AddRow(std::vector<NUVBaseUnknown*> entries) {
    NUVListPtrNUVBaseUnknown list;
    for (NUVBaseUnknown* e : entries) list.Append(e);
    ASSERT_GE(NUVEdbResultTableBuilder::AppendRow(table, list), 0);
  }
  void TearDown() override {
    for (NUVBaseUnknown* cell : cells) cell->Release();
  }
  NUVEdbResultTable table;
  std::vector<NUVBaseUnknown*> cells;
};

}  // namespace

TEST_F(ResultTable, RowsAreNumberedFromOneAndHandOutReferences) {
  int count = 9;
  NUVListPtrNUVBaseUnknown out;
  EXPECT_GE(table.GetNumberOfRows(count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_GE(table.GetRow(1, out), 0);
  EXPECT_EQ(out.Size(), 0);
  NUVEdbResultTabHdr header("PART", "ID", EdbTypeInteger);
  header.AddRef();  // the stack object must never reach zero
  AddRow({Cell("ID", 1), nullptr, &header});
  AddRow({Cell("ID", 2)});
  AddRow({Cell("ID", 3), Cell("MASS", 30)});
  table.GetNumberOfRows(count);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(References(cells[0]), 2U);  // only cells are kept
  EXPECT_EQ(References(&header), 2U);
  const struct {
    int n;
    bool ok;
    int size;
  } cases[] = {{-1, false, 0}, {0, true, 0}, {3, true, 2}, {4, true, 0}};
  for (const auto& c : cases) {
    NUVListPtrNUVBaseUnknown cellsOut;
    EXPECT_EQ(table.GetRow(c.n, cellsOut) >= 0, c.ok) << c.n;
    EXPECT_EQ(cellsOut.Size(), c.size) << c.n;
    if (c.size) {
      EXPECT_EQ(References(cellsOut[1]), 3U);
    }
    ReleaseList(cellsOut);
  }
  header.Release();
}

TEST_F(ResultTable, GetColumnTakesTheFirstMatchingCellOfEachRow) {
  AddRow({Cell("NAME", 1), Cell("NAME", 2)});
  AddRow({Cell("MASS", 3)});
  AddRow({Cell("", 4), Cell("NAME", 5)});
  NUVEdbObjAttrType type = EdbTypeNone;
  NUVListPtrNUVBaseUnknown column;
  EXPECT_GE(table.GetColumn("NAME", type, column), 0);
  ASSERT_EQ(column.Size(), 2);
  EXPECT_EQ(column[1], cells[0]);
  EXPECT_EQ(column[2], cells[4]);
  EXPECT_EQ(type, EdbTypeInteger);
  ReleaseList(column);
  type = EdbTypeDouble;
  EXPECT_LT(table.GetColumn("", type, column), 0);
  EXPECT_GE(table.GetColumn("ABSENT", type, column), 0);
  EXPECT_EQ(type, EdbTypeDouble);
  EXPECT_EQ(column.Size(), 0);
}

TEST_F(ResultTable, HeaderIsSetOnceAndGetHeaderAppends) {
  auto* header = new NUVEdbResultTabHdr("PART", "ID", EdbTypeInteger);
  NUVListPtrNUVBaseUnknown empty;
  EXPECT_GE(table.SetHeader(empty), 0);
  NUVListPtrNUVBaseUnknown mixed;
  mixed.Append(header);
  mixed.Append(nullptr);
  mixed.Append(Cell("ID", 1));
  EXPECT_GE(table.SetHeader(mixed), 0);
  EXPECT_LT(table.SetHeader(mixed), 0);
  EXPECT_EQ(References(header), 2U);
  NUVListPtrNUVBaseUnknown out;
  out.Append(nullptr);
  EXPECT_GE(table.GetHeader(out), 0);
  ASSERT_EQ(out.Size(), 2);
  EXPECT_EQ(out[2], header);
  ReleaseList(out);
  header->Release();
}

TEST_F(ResultTable, CopiesKeepRowsAndCellsAliveAndReleaseThemOnce) {
  AddRow({Cell("ID", 1)});
  AddRow({Cell("ID", 2)});
  {
    NUVEdbResultTable copy(table);
    NUVEdbResultTable assigned;
    assigned = copy;
    int count = 0;
    assigned.GetNumberOfRows(count);
    EXPECT_EQ(count, 2);
  }
  EXPECT_EQ(References(cells[0]), 2U);
  NUVListPtrNUVBaseUnknown list;
  list.Append(Cell("X", 1));
  auto* row = new NUVEdbResultTabRow(list);
  auto* rowCopy = new NUVEdbResultTabRow(*row);
  *rowCopy = *row;
  NUVEdbResultTabRow& alias = *rowCopy;
  *rowCopy = alias;  // self-assignment keeps the cells
  {
    NUVListPtrNUVBaseUnknown cellsOut;
    NUVEdbResultTable single;
    NUVEdbResultTableBuilder::AppendRow(single, list);
    single.GetRow(1, cellsOut);
    EXPECT_EQ(cellsOut.Size(), 1);
    ReleaseList(cellsOut);
  }
  EXPECT_EQ(References(cells[2]), 3U);
  rowCopy->Release();
  row->Release();
  EXPECT_EQ(References(cells[2]), 1U);
}

TEST_F(ResultTable, ARowMayTakeOverTheReferencesOfItsCells) {
  const long live = NUVBaseUnknown::LiveObjectCount();
  auto* kept = new NUVEdbResultTabData("PART", "ID", 7);
  auto* stranger = new NUVEdbResultTabHdr("PART", "ID", EdbTypeInteger);  // no cell: released
  NUVListPtrNUVBaseUnknown list;
  list.Append(kept);
  list.Append(nullptr);
  list.Append(stranger);
  ASSERT_GE(NUVEdbResultTableBuilder::AppendRowTakingCells(table, list), 0);
  EXPECT_EQ(list.Size(), 0);
  EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live + 2);  // the cell and its row
  EXPECT_EQ(References(kept), 1U);                         // the row's, taken over
  NUVListPtrNUVBaseUnknown out;
  ASSERT_GE(table.GetRow(1, out), 0);
  ASSERT_EQ(out.Size(), 1);
  EXPECT_EQ(out[1], kept);
  ReleaseList(out);
  NUVListPtrNUVBaseUnknown refused;
  refused.Append(Cell("ID", 8));
  NUVEdbResultTabData::FailAllocationAt(1);  // the row
  EXPECT_LT(NUVEdbResultTableBuilder::AppendRowTakingCells(table, refused), 0);
  EXPECT_EQ(refused.Size(), 1);  // left as it was; the fixture releases the cell
  int rows = 0;
  table.GetNumberOfRows(rows);
  EXPECT_EQ(rows, 1);
}
