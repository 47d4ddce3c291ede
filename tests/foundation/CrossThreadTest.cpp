// Objects, tables and strings that cross threads: built on one, read and
// dropped on another, while the pool's per-thread lists and the per-thread
// counts are in use on both. Run under ThreadSanitizer (the tsan workflow)
// these also show any unsynchronised access in the pool or the counters.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "CellText.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVUnicodeString.h"

namespace {

// The text of row r of a table that BuildTable made with the seed.
std::string RowText(int seed, int r) {
  return "row text long enough to be shared " + std::to_string(seed + r);
}

// A table of rows of two cells, "N" = the row's number and "S" = a text
// long enough to live in a shared buffer.
NUVEdbResultTable* BuildTable(int rows, int seed) {
  auto* table = new NUVEdbResultTable;
  NUVListPtrNUVBaseUnknown cells;
  for (int r = 1; r <= rows; ++r) {
    cells.Append(new NUVEdbResultTabData("T", "N", seed + r));
    cells.Append(new NUVEdbResultTabData("T", "S", NUVUnicodeString(RowText(seed, r)), 0));
    EXPECT_GE(NUVEdbResultTableBuilder::AppendRowTakingCells(*table, cells), 0);
  }
  return table;
}

// True when every row of the table holds what BuildTable put there.
bool TableHolds(const NUVEdbResultTable& table, int rows, int seed) {
  int count = 0;
  table.GetNumberOfRows(count);
  bool holds = count == rows;
  for (int r = 1; holds && r <= rows; ++r) {
    NUVListPtrNUVBaseUnknown cells;
    table.GetRow(r, cells);
    holds = CellText(cells, true) == std::to_string(seed + r) + " " + RowText(seed, r);
    for (int c = 1; c <= cells.Size(); ++c) cells[c]->Release();
  }
  return holds;
}

}  // namespace

// Table i is built by builder i / kTablesEach and read by reader i % kReaders,
// which checks and drops it while the builders go on allocating. Each
// builder first drops a table of its own, so that it ends with free blocks
// on its lists for the next round, and its last table outlives it.
TEST(CrossThread, TablesBuiltOnOneThreadAreReadAndDroppedOnAnother) {
  constexpr int kBuilders = 2, kReaders = 2, kTablesEach = 10, kRows = 200;
  constexpr int kTables = kBuilders * kTablesEach;
  const long live = NUVBaseUnknown::LiveObjectCount();
  for (int round = 0; round < 2; ++round) {
    const auto seed = [round](int i) { return (round * kTables + i) * kRows; };
    std::vector<std::atomic<NUVEdbResultTable*>> handed(kTables);
    std::atomic<int> intact{0};
    std::vector<std::thread> threads;
    for (int b = 0; b < kBuilders; ++b) {
      threads.emplace_back([&, b] {
        BuildTable(kRows, -kRows)->Release();  // its blocks stay on this thread's lists
        for (int i = b * kTablesEach; i < (b + 1) * kTablesEach; ++i)
          handed[static_cast<size_t>(i)] = BuildTable(kRows, seed(i));
      });
    }
    for (int r = 0; r < kReaders; ++r) {
      threads.emplace_back([&, r] {
        for (int i = r; i < kTables; i += kReaders) {
          if (i % kTablesEach == kTablesEach - 1) continue;  // a builder's last: dropped after it ended
          NUVEdbResultTable* table = nullptr;
          while (!(table = handed[static_cast<size_t>(i)].load())) std::this_thread::yield();
          if (TableHolds(*table, kRows, seed(i))) ++intact;
          table->Release();  // cells, rows and texts go back on this thread
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
    for (int i = kTablesEach - 1; i < kTables; i += kTablesEach) {
      NUVEdbResultTable* table = handed[static_cast<size_t>(i)].load();
      if (TableHolds(*table, kRows, seed(i))) ++intact;
      table->Release();
    }
    EXPECT_EQ(intact, kTables);
  }
  EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live);
}

// References taken while the process may still run one thread (each test
// runs in a process of its own) are counted on by threads started later,
// and when two threads let go of the same objects at once each object is
// deleted once, by whichever let go last.
TEST(CrossThread, ReferencesTakenBeforeThreadsStartAreReleasedOnceByTheLastHolder) {
  constexpr int kObjects = 2000;
  const long live = NUVBaseUnknown::LiveObjectCount();
  std::vector<NUVEdbResultTabData*> cells;
  const NUVUnicodeString text("a text of more than fifteen bytes, held in a shared buffer");
  std::vector<NUVUnicodeString> copies;
  for (int i = 0; i < kObjects; ++i) {
    cells.push_back(new NUVEdbResultTabData("T", "S", text, 0));
    EXPECT_EQ(cells.back()->AddRef(), 2u);
    copies.push_back(text);
  }
  std::atomic<int> lastHolders{0};
  auto letGo = [&] {
    std::vector<NUVUnicodeString> mine = copies;  // more holders of the shared text
    for (NUVEdbResultTabData* cell : cells)
      if (cell->Release() == 0) ++lastHolders;
  };
  std::thread first(letGo), second(letGo);
  first.join();
  second.join();
  EXPECT_EQ(lastHolders, kObjects);
  copies.clear();
  EXPECT_EQ(text.CastToCharPtr(), std::string("a text of more than fifteen bytes, held in a shared buffer"));
  EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live);
}
