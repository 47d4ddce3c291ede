// The whole road against raw SQLite: every row of a 100 000-row table read
// into the same four variables.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "BenchData.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVEdsGeneralTool.h"
#include "NUVSqliteHost.h"

namespace {

constexpr int kRows = 100000;
const char* const kPath = "/tmp/nuv_bench_road.db";

// The database file, written once per process.
const std::string& Database() {
  static const std::string path = [] {
    bench::WriteDatabase(kPath, kRows);
    return std::string(kPath);
  }();
  return path;
}

// The variables a row is read into.
struct Row {
  std::string id;
  int n = 0;
  double x = 0;
  std::string s;
};

void RawLoop(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(Database().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  NUVEdsGeneralTool blanks;
  Row row;
  for (auto _ : state) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT ID, N, X, S FROM BENCH WHERE N >= ?", -1, &statement, nullptr);
    sqlite3_bind_int(statement, 1, 0);
    int rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      row.id = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
      row.n = sqlite3_column_int(statement, 1);
      row.x = sqlite3_column_double(statement, 2);
      // The stored text is blank-encoded; the caller wants it decoded.
      row.s = blanks.DecodeBlanks(reinterpret_cast<const char*>(sqlite3_column_text(statement, 3)))
                  .CastToCharPtr();
      ++rows;
    }
    sqlite3_finalize(statement);
    benchmark::DoNotOptimize(row);
    state.counters["rows"] = rows;
  }
  sqlite3_close(db);
}
BENCHMARK(RawLoop)->Name("Road/Raw")->Unit(benchmark::kMillisecond);

void LibraryRoad(benchmark::State& state) {
  std::string message;
  auto host = NUVSqliteHost::OpenFile(Database(), message);
  host->Install();
  bench::BoundRow row;
  OwnedList parameters{new NUVEdbSQLData(":MIN", 0)};
  NUVEdbBrokerTool broker;
  for (auto _ : state) {
    NUVUnicodeString statement;
    broker.PreProcessSQLStatement("SELECT ID, N, X, S FROM BENCH WHERE N >= :MIN", parameters, statement);
    NUVEdbResultTable table;
    host->Run(statement, table);
    int rows = 0;
    table.GetNumberOfRows(rows);
    for (int r = 1; r <= rows; ++r) broker.ExtractOutput(table, row.bindings, host->Query(), r);
    benchmark::DoNotOptimize(row.n);
    state.counters["rows"] = rows;
  }
  host.reset();
}
BENCHMARK(LibraryRoad)->Name("Road/Library")->Unit(benchmark::kMillisecond);

}  // namespace
