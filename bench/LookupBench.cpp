// One row by its key against SQLite, the commonest query of a program:
// what a statement costs beyond its rows (reading and preparing its text,
// the table and its cells), beside a raw prepare, bind, step and finalize.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>

#include "BenchData.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVEdsGeneralTool.h"
#include "NUVSqliteHost.h"

namespace {

constexpr int kRows = 100000;  // the road database's

std::string KeyOf(int64_t i) { return bench::Key(static_cast<int>(i * 7919 % kRows)); }

// The host on the road's database, installed as the session; null, with
// the benchmark skipped, when it cannot be opened.
std::unique_ptr<NUVSqliteHost> InstalledHost(benchmark::State& state) {
  std::string message;
  auto host = NUVSqliteHost::OpenFile(bench::RoadDatabase(), message);
  if (!host) {
    state.SkipWithError(message.c_str());
    return nullptr;
  }
  host->Install();
  return host;
}

// The statement with :KEY replaced by the i-th key, as a program makes it.
NUVUnicodeString WithKey(NUVEdbBrokerTool& broker, const char* statement, int64_t i) {
  OwnedList parameters{new NUVEdbSQLData(":KEY", NUVUnicodeString(KeyOf(i).c_str()), 0)};
  NUVUnicodeString finished;
  broker.PreProcessSQLStatement(statement, parameters, finished);
  return finished;
}

void RawLookup(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(bench::RoadDatabase().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  const NUVEdsGeneralTool blanks;
  std::string id, s;
  int n = 0;
  double x = 0;
  int64_t i = 0, found = 0;
  for (auto _ : state) {
    const std::string key = KeyOf(++i);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT ID, N, X, S FROM BENCH WHERE ID = ?", -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, key.c_str(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(statement) == SQLITE_ROW) {
      ++found;
      id = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
      n = sqlite3_column_int(statement, 1);
      x = sqlite3_column_double(statement, 2);
      s = blanks.DecodeBlanks(reinterpret_cast<const char*>(sqlite3_column_text(statement, 3)))
              .CastToCharPtr();
    }
    sqlite3_finalize(statement);
    benchmark::DoNotOptimize(n);
    benchmark::DoNotOptimize(x);
  }
  state.counters["found"] =
      benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
  sqlite3_close(db);
}
BENCHMARK(RawLookup)->Name("Lookup/Raw")->Unit(benchmark::kMicrosecond);

void LibraryLookup(benchmark::State& state) {
  auto host = InstalledHost(state);
  if (!host) return;
  bench::BoundRow row;
  NUVEdbBrokerTool broker;
  int64_t i = 0, found = 0;
  for (auto _ : state) {
    NUVEdbResultTable table;
    host->Run(WithKey(broker, "SELECT ID, N, X, S FROM BENCH WHERE ID = :KEY", ++i), table);
    found += broker.ExtractOutput(table, row.bindings, host->Query(), 1) >= 0 ? 1 : 0;
    benchmark::DoNotOptimize(row.n);
  }
  state.counters["found"] =
      benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
  host.reset();
}
BENCHMARK(LibraryLookup)->Name("Lookup/Library")->Unit(benchmark::kMicrosecond);

// One row changed by its key: the library runs a writing statement in a
// transaction of its own and reads the schema's version after it.
void RawUpdate(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(bench::RoadDatabase().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  int64_t i = 0;
  for (auto _ : state) {
    const std::string key = KeyOf(++i);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "UPDATE BENCH SET N = N WHERE ID = ?", -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, key.c_str(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(statement) != SQLITE_DONE) state.SkipWithError("the update failed");
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
}
BENCHMARK(RawUpdate)->Name("Update/Raw")->Unit(benchmark::kMicrosecond);

void LibraryUpdate(benchmark::State& state) {
  auto host = InstalledHost(state);
  if (!host) return;
  NUVEdbBrokerTool broker;
  int64_t i = 0;
  for (auto _ : state) {
    NUVEdbResultTable table;
    if (host->Run(WithKey(broker, "UPDATE BENCH SET N = N WHERE ID = :KEY", ++i), table) < 0)
      state.SkipWithError("the update failed");
  }
  host.reset();
}
BENCHMARK(LibraryUpdate)->Name("Update/Library")->Unit(benchmark::kMicrosecond);

}  // namespace
