// ExtractOutput over every row of tables of growing size: time per row
// should not grow with the table.
#include <benchmark/benchmark.h>

#include "BenchData.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTable.h"
#include "NUVRef.h"
#include "TestHost.h"
#include "TestHostObject.h"

namespace road {

// ExtractOutput of every row of the table, for bench/scripts/instructions --flat.
[[gnu::noipa]] void RowAccessPass(NUVEdbBrokerTool& broker, NUVEdbResultTable& table, bench::BoundRow& row,
                                  const NUVIEdbSysQuery2* query, int rows) {
  for (int r = 1; r <= rows; ++r) broker.ExtractOutput(table, row.bindings, query, r);
}

}  // namespace road

namespace {

void RowAccess(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  auto host = NUVAdopt(new TestHost);
  host->Install();
  NUVEdbResultTable table;
  bench::FillTable(table, rows);
  bench::BoundRow row;
  NUVEdbBrokerTool broker;
  for (auto _ : state) {
    road::RowAccessPass(broker, table, row, host->queryInterface.get(), rows);
    benchmark::DoNotOptimize(row.n);
  }
  state.counters["rows"] = rows;
  TestHost::Uninstall();
}
BENCHMARK(RowAccess)->Name("RowAccess")->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// FindRowNumber for the object of the first and of the last row.
void FindRow(benchmark::State& state) {
  constexpr int kRows = 100000;
  auto host = NUVAdopt(new TestHost);
  host->schema["BENCH"] = {"ID", {}};
  host->Install();
  NUVEdbResultTable table;
  bench::FillTable(table, kRows);
  const int wanted = state.range(0) == 0 ? 0 : kRows - 1;
  auto target = NUVRef<NUVIEdbSysObject>::Adopt(new TestHostObject(*host, "BENCH", bench::Key(wanted)));
  NUVEdbBrokerTool broker;
  int found = 0;
  for (auto _ : state) {
    found = broker.FindRowNumber(target.get(), table, kRows);
    benchmark::DoNotOptimize(found);
  }
  state.counters["row"] = found;
  TestHost::Uninstall();
}
BENCHMARK(FindRow)->Name("FindRowNumber")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
