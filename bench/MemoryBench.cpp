// Memory: heap bytes per scalar result cell, its names included, and the
// heap a million-row table holds, read from the allocators' own counts.
//
// Each figure is taken in a child process forked before any benchmark runs:
// the library keeps the memory of released objects for the next ones, so
// after the other benchmarks their leftovers would hide what a fresh table
// costs.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "BenchData.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVObjectPool.h"
#include "NUVRef.h"

namespace {

// What the general heap hands out, and the slabs the pool maps beside it.
size_t HeapInUse() { return mallinfo2().uordblks + NUVObjectPool::MappedBytesInUse(); }

// The answer of measure, computed in a child process; -1 when that failed.
template <class Measure>
double InChild(Measure measure) {
  int channel[2];
  if (pipe(channel) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    const double value = measure();
    const bool written = write(channel[1], &value, sizeof value) == static_cast<ssize_t>(sizeof value);
    _exit(written ? 0 : 1);
  }
  close(channel[1]);
  double value = -1;
  if (child < 0 || read(channel[0], &value, sizeof value) != static_cast<ssize_t>(sizeof value)) value = -1;
  close(channel[0]);
  if (child > 0) waitpid(child, nullptr, 0);
  return value;
}

double BytesPerCell() {
  constexpr int kCells = 100000;
  std::vector<NUVRef<NUVEdbResultTabData>> cells;
  cells.reserve(2 * kCells);
  // The second batch's growth alone: what the first call of anything
  // allocates once falls out of the difference.
  for (int i = 0; i < kCells; ++i) cells.push_back(NUVAdopt(new NUVEdbResultTabData("BENCH", "N", i)));
  const size_t before = HeapInUse();
  for (int i = 0; i < kCells; ++i) cells.push_back(NUVAdopt(new NUVEdbResultTabData("BENCH", "N", i)));
  const double perCell = static_cast<double>(HeapInUse() - before) / kCells;
  return perCell;
}

double MillionRowMebibytes() {
  const size_t before = HeapInUse();
  NUVEdbResultTable table;
  bench::FillTable(table, 1000000);
  return static_cast<double>(HeapInUse() - before) / (1 << 20);
}

struct MemoryFigures {
  double bytesPerCell = -1;
  double millionRowMebibytes = -1;
};
MemoryFigures figures;

void ScalarCell(benchmark::State& state) {
  for (auto _ : state) {
  }  // taken before the benchmarks ran
  state.counters["bytes_per_cell"] = figures.bytesPerCell;
}
BENCHMARK(ScalarCell)->Name("Memory/ScalarCell")->Iterations(1)->Unit(benchmark::kMillisecond);

void MillionRows(benchmark::State& state) {
  for (auto _ : state) {
  }  // taken before the benchmarks ran
  state.counters["heap_MiB"] = figures.millionRowMebibytes;
}
BENCHMARK(MillionRows)->Name("Memory/MillionRowTable")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

void bench::TakeMemoryFigures() {
  figures.bytesPerCell = InChild(BytesPerCell);
  figures.millionRowMebibytes = InChild(MillionRowMebibytes);
}
