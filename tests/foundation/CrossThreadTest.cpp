// Objects, tables and strings that cross threads: built on one, read and
// dropped on another, while the pool's per-thread lists and the per-thread
// counts are in use on both. Run under ThreadSanitizer (the tsan workflow)
// these also show any unsynchronised access in the pool or the counters.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbResultTableBuilder.h"
#include "NUVUnicodeString.h"

namespace {

// A table of rows of two cells, "N" = the row's number and "S" = a text
// long enough to live in a shared buffer.
NUVEdbResultTable* BuildTable(int rows, int seed) {
  auto* table = new NUVEdbResultTable;
  NUVListPtrNUVBaseUnknown cells;
  for (int r = 1; r <= rows; ++r) {
    cells.Append(new NUVEdbResultTabData("T", "N", seed + r));
    cells.Append(new NUVEdbResultTabData(
        "T", "S", NUVUnicodeString("row text long enough to be shared " + std::to_string(seed + r)), 0));
    EXPECT_GE(NUVEdbResultTableBuilder::AppendRowTakingCells(*table, cells), 0);
  }
  return table;
}

// True when every row of the table holds what BuildTable put there.
bool TableHolds(const NUVEdbResultTable& table, int rows, int seed) {
  int count = 0;
  table.GetNumberOfRows(count);
  if (count != rows) return false;
  for (int r = 1; r <= rows; ++r) {
    NUVListPtrNUVBaseUnknown cells;
    table.GetRow(r, cells);
    int n = 0;
    NUVUnicodeString s;
    const bool read = cells.Size() == 2 && static_cast<NUVEdbResultTabData*>(cells[1])->GetData(n) >= 0 &&
                      static_cast<NUVEdbResultTabData*>(cells[2])->GetData(s, 1) >= 0;
    for (int c = 1; c <= cells.Size(); ++c) cells[c]->Release();
    if (!read || n != seed + r ||
        !(s == ("row text long enough to be shared " + std::to_string(seed + r)).c_str()))
      return false;
  }
  return true;
}

}  // namespace

TEST(CrossThread, TablesBuiltOnOneThreadAreReadAndDroppedOnAnother) {
  constexpr int kBuilders = 2, kReaders = 2, kTablesEach = 20, kRows = 200;
  const long live = NUVBaseUnknown::LiveObjectCount();
  // Table i is built by builder i / kTablesEach and read by reader i % kReaders,
  // which checks and drops it while the builders go on allocating.
  std::vector<std::atomic<NUVEdbResultTable*>> handed(kBuilders * kTablesEach);
  std::atomic<int> intact{0};
  std::vector<std::thread> threads;
  for (int b = 0; b < kBuilders; ++b) {
    threads.emplace_back([&, b] {
      for (int i = b * kTablesEach; i < (b + 1) * kTablesEach; ++i)
        handed[static_cast<size_t>(i)] = BuildTable(kRows, i * kRows);
    });
  }
  for (int r = 0; r < kReaders; ++r) {
    threads.emplace_back([&, r] {
      for (int i = r; i < kBuilders * kTablesEach; i += kReaders) {
        NUVEdbResultTable* table = nullptr;
        while (!(table = handed[static_cast<size_t>(i)].load())) std::this_thread::yield();
        if (TableHolds(*table, kRows, i * kRows)) ++intact;
        table->Release();  // cells, rows and texts go back on this thread
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(intact, kBuilders * kTablesEach);
  EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live);
}

TEST(CrossThread, SharedStringsCopiedOnManyThreadsKeepTheirText) {
  const NUVUnicodeString original("a text of more than fifteen bytes, held in a shared buffer");
  const std::string expected = original.CastToCharPtr();
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        NUVUnicodeString copy = original;  // shares the buffer
        NUVUnicodeString changed = copy;
        changed += std::to_string(t).c_str();  // a change leaves the other holders alone
        NUVUnicodeString moved = std::move(copy);
        if (!(moved == expected.c_str()) || !(changed == (expected + std::to_string(t)).c_str())) ++wrong;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(original.CastToCharPtr(), expected);
}

TEST(CrossThread, ThreadsThatEndWithFreeBlocksHandThemOnIntact) {
  const long live = NUVBaseUnknown::LiveObjectCount();
  // Each round's threads build and drop tables and end with the freed
  // blocks on their lists, while other threads of the round still allocate;
  // the next round's tables reuse those blocks.
  for (int round = 0; round < 3; ++round) {
    std::vector<NUVEdbResultTable*> kept(4, nullptr);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
      threads.emplace_back([&, t] {
        const int seed = (round * 4 + t) * 1000;
        BuildTable(300, seed)->Release();  // its blocks stay on this thread's lists
        kept[static_cast<size_t>(t)] = BuildTable(100, seed);
      });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < 4; ++t) {
      EXPECT_TRUE(TableHolds(*kept[static_cast<size_t>(t)], 100, (round * 4 + t) * 1000));
      kept[static_cast<size_t>(t)]->Release();  // made on a thread that has ended
    }
  }
  EXPECT_EQ(NUVBaseUnknown::LiveObjectCount(), live);
}

TEST(CrossThread, CountersReadWhileOthersAllocateStayWithinWhatIsMade) {
  constexpr int kWorkers = 3, kRounds = 300, kPerRound = 20;
  const long live = NUVBaseUnknown::LiveObjectCount();
  const long allocations = NUVBaseUnknown::AllocationCount();
  std::atomic<bool> done{false};
  long outOfRange = 0, wentBack = 0;
  std::thread reader([&] {
    long last = allocations;
    while (!done.load()) {
      const long now = NUVBaseUnknown::LiveObjectCount();
      const long made = NUVBaseUnknown::AllocationCount();
      if (now < live || now > live + kWorkers * kPerRound) ++outOfRange;
      if (made < last) ++wentBack;
      last = made;
    }
  });
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&] {
      std::vector<NUVEdbResultTabData*> cells;
      for (int r = 0; r < kRounds; ++r) {
        for (int i = 0; i < kPerRound; ++i) cells.push_back(new NUVEdbResultTabData("T", "N", i));
        for (NUVEdbResultTabData* cell : cells) cell->Release();
        cells.clear();
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  done = true;
  reader.join();
  EXPECT_EQ(outOfRange, 0);
  EXPECT_EQ(wentBack, 0);
  EXPECT_EQ(NUVBaseUnknown::AllocationCount() - allocations, long{kWorkers} * kRounds * kPerRound);
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
