// The whole road against raw SQLite: every row of a 100 000-row table read
// into the same four variables.
//
// Road/Paired takes a raw pass and a library pass in turns and reports the
// ratio of their times; Road/PairedSmall does the same over the first
// 3 000 rows, whose table (about 1.8 MB) stays within a core's L2 cache, so
// that the library's own work shows apart from the cost of reaching the
// memory of a large table.
//
// Each pass and each stage of the library's road is a function of its own
// (namespace road, never inlined), so that bench/scripts/instructions can read its
// instruction count from callgrind by name.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
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

// The database file, written once per process: 100 000 rows.
const std::string& Database() { return bench::RoadDatabase(); }

// The statements of the road, over every row or over the first `limit`.
constexpr const char* kRawStatement = "SELECT ID, N, X, S FROM BENCH WHERE N >= ?";
constexpr const char* kLibraryStatement = "SELECT ID, N, X, S FROM BENCH WHERE N >= :MIN";
std::string Limited(const char* statement, int limit) {
  std::string text = statement;
  if (limit > 0) text.append(" LIMIT ").append(std::to_string(limit));
  return text;
}

// The variables a row is read into.
struct Row {
  std::string id;
  int n = 0;
  double x = 0;
  std::string s;
};

}  // namespace

namespace road {

// Reads every row with prepare, bind, step and column; answers the rows read.
[[gnu::always_inline]] inline int ReadAll(sqlite3* db, const char* sql, const NUVEdsGeneralTool& blanks,
                                          Row& row) {
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
  sqlite3_bind_int(statement, 1, 0);
  int rows = 0;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    row.id = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    row.n = sqlite3_column_int(statement, 1);
    row.x = sqlite3_column_double(statement, 2);
    // The stored text is blank-encoded; the caller wants it decoded.
    row.s =
        blanks.DecodeBlanks(reinterpret_cast<const char*>(sqlite3_column_text(statement, 3))).CastToCharPtr();
    ++rows;
  }
  sqlite3_finalize(statement);
  return rows;
}

// The same loop under a name per way of opening, for callgrind.
[[gnu::noipa]] int RawPass(sqlite3* db, const char* sql, const NUVEdsGeneralTool& blanks, Row& row) {
  return ReadAll(db, sql, blanks, row);
}
[[gnu::noipa]] int RawNoMutexPass(sqlite3* db, const char* sql, const NUVEdsGeneralTool& blanks, Row& row) {
  return ReadAll(db, sql, blanks, row);
}

[[gnu::noinline]] void LibraryPreProcess(NUVEdbBrokerTool& broker, const NUVUnicodeString& text,
                                         const NUVListPtrNUVBaseUnknown& parameters,
                                         NUVUnicodeString& statement) {
  broker.PreProcessSQLStatement(text, parameters, statement);
}

[[gnu::noinline]] void LibraryFill(NUVSqliteHost& host, const NUVUnicodeString& statement,
                                   NUVEdbResultTable& table) {
  host.Run(statement, table);
}

[[gnu::noinline]] int LibraryExtract(NUVEdbBrokerTool& broker, NUVEdbResultTable& table, NUVSqliteHost& host,
                                     bench::BoundRow& row) {
  int rows = 0;
  table.GetNumberOfRows(rows);
  for (int r = 1; r <= rows; ++r) broker.ExtractOutput(table, row.bindings, host.Query(), r);
  return rows;
}

// Releases the table's only reference.
[[gnu::noinline]] void LibraryDrop(NUVEdbResultTable* table) { table->Release(); }

}  // namespace road

namespace {

// The raw loop's connection, read-only, with the flags given besides.
sqlite3* OpenRaw(int extraFlags) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(Database().c_str(), &db, SQLITE_OPEN_READONLY | extraFlags, nullptr);
  return db;
}

// The raw loop, opened with SQLite's default threading mode (flags 0) or as
// the host opens its connection.
void RawLoop(benchmark::State& state, int extraFlags) {
  sqlite3* db = OpenRaw(extraFlags);
  const NUVEdsGeneralTool blanks;
  Row row;
  for (auto _ : state) {
    const int rows = extraFlags == 0 ? road::RawPass(db, kRawStatement, blanks, row)
                                     : road::RawNoMutexPass(db, kRawStatement, blanks, row);
    benchmark::DoNotOptimize(row);
    state.counters["rows"] = rows;
  }
  sqlite3_close(db);
}
BENCHMARK_CAPTURE(RawLoop, default, 0)->Name("Road/Raw")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RawLoop, nomutex, SQLITE_OPEN_NOMUTEX)
    ->Name("Road/RawNoMutex")
    ->Unit(benchmark::kMillisecond);

using Clock = std::chrono::steady_clock;

// The library's side of the road: its host, statement parameters and
// bindings, and the time each stage has taken over the passes run.
class LibrarySide {
 public:
  // The road over every row, or over the first `limit` when it is positive.
  explicit LibrarySide(int limit = 0)
      : host_(NUVSqliteHost::OpenFile(Database(), message_)),
        text_(Limited(kLibraryStatement, limit).c_str()) {
    host_->Install();
  }

  // One pass: pre-process, fill a table, extract every row, drop it.
  // Answers the rows read, or -1 when no table could be made.
  int Pass() {
    NUVUnicodeString statement;
    road::LibraryPreProcess(broker_, text_, parameters_, statement);
    auto* table = new NUVEdbResultTable;  // released by LibraryDrop
    if (!table) return -1;
    const auto start = Clock::now();
    road::LibraryFill(*host_, statement, *table);
    const auto filled = Clock::now();
    const int rows = road::LibraryExtract(broker_, *table, *host_, row_);
    const auto extracted = Clock::now();
    road::LibraryDrop(table);
    drop += Clock::now() - extracted;
    fill += filled - start;
    extract += extracted - filled;
    benchmark::DoNotOptimize(row_.n);
    return rows;
  }

  Clock::duration fill{}, extract{}, drop{};

 private:
  std::string message_;
  std::unique_ptr<NUVSqliteHost> host_;
  NUVUnicodeString text_;
  bench::BoundRow row_;
  OwnedList parameters_{new NUVEdbSQLData(":MIN", 0)};
  NUVEdbBrokerTool broker_;
};

void LibraryRoad(benchmark::State& state) {
  LibrarySide library;
  for (auto _ : state) {
    const int rows = library.Pass();
    if (rows < 0) {
      state.SkipWithError("no memory for the table");
      break;
    }
    state.counters["rows"] = rows;
  }
  // Each stage's share of the time, in milliseconds a pass.
  const auto perPass = [&](Clock::duration total) {
    return benchmark::Counter(std::chrono::duration<double, std::milli>(total).count(),
                              benchmark::Counter::kAvgIterations);
  };
  state.counters["fill_ms"] = perPass(library.fill);
  state.counters["extract_ms"] = perPass(library.extract);
  state.counters["drop_ms"] = perPass(library.drop);
}
BENCHMARK(LibraryRoad)->Name("Road/Library")->Unit(benchmark::kMillisecond);

// The raw loop and the library's road in turns, each pass timed: both meet
// the same state of a shared machine, so their ratio does not move with
// what its neighbours do from one second to the next.
// Over every row, or over the first `limit` when it is positive.
void PairedRoad(benchmark::State& state, int limit) {
  sqlite3* db = OpenRaw(0);
  const std::string sql = Limited(kRawStatement, limit);
  const NUVEdsGeneralTool blanks;
  Row raw;
  LibrarySide library(limit);
  Clock::duration rawTime{}, libraryTime{};
  for (auto _ : state) {
    const auto start = Clock::now();
    road::RawPass(db, sql.c_str(), blanks, raw);
    const auto rawDone = Clock::now();
    if (library.Pass() < 0) {
      state.SkipWithError("no memory for the table");
      break;
    }
    libraryTime += Clock::now() - rawDone;
    rawTime += rawDone - start;
    benchmark::DoNotOptimize(raw);
  }
  if (rawTime.count() > 0) {  // no pass ran when the first table could not be made
    state.counters["ratio"] =
        std::chrono::duration<double>(libraryTime).count() / std::chrono::duration<double>(rawTime).count();
  }
  sqlite3_close(db);
}
BENCHMARK_CAPTURE(PairedRoad, all, 0)->Name("Road/Paired")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PairedRoad, small, 3000)->Name("Road/PairedSmall")->Unit(benchmark::kMillisecond);

}  // namespace
