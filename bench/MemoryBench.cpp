// Memory: heap bytes per scalar result cell, its names included, and the
// heap a million-row table holds, read from the allocator's own count.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <vector>

#include "BenchData.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"

namespace {

size_t HeapInUse() { return mallinfo2().uordblks; }

void BytesPerCell(benchmark::State& state) {
  constexpr int kCells = 100000;
  double perCell = 0;
  for (auto _ : state) {
    std::vector<NUVEdbResultTabData*> cells;
    cells.reserve(2 * kCells);
    // The second batch's growth alone: what the first call of anything
    // allocates once falls out of the difference.
    for (int i = 0; i < kCells; ++i) cells.push_back(new NUVEdbResultTabData("BENCH", "N", i));
    const size_t before = HeapInUse();
    for (int i = 0; i < kCells; ++i) cells.push_back(new NUVEdbResultTabData("BENCH", "N", i));
    perCell = static_cast<double>(HeapInUse() - before) / kCells;
    for (NUVEdbResultTabData* cell : cells) cell->Release();
  }
  state.counters["bytes_per_cell"] = perCell;
}
BENCHMARK(BytesPerCell)->Name("Memory/ScalarCell")->Iterations(1)->Unit(benchmark::kMillisecond);

void MillionRows(benchmark::State& state) {
  double mebibytes = 0;
  for (auto _ : state) {
    const size_t before = HeapInUse();
    NUVEdbResultTable table;
    bench::FillTable(table, 1000000);
    mebibytes = static_cast<double>(HeapInUse() - before) / (1 << 20);
  }
  state.counters["heap_MiB"] = mebibytes;
}
BENCHMARK(MillionRows)->Name("Memory/MillionRowTable")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
