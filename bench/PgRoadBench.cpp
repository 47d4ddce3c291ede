// The whole road against a PostgreSQL server beside a raw libpq loop: every
// row of a 100 000-row table read into the same four variables, over the
// server's Unix socket. The server is NUV_PG_CONNINFO's, or else a
// throwaway one started here (tests/postgres/server) and stopped at exit.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "BenchData.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVPostgresHost.h"
#include "NUVRefList.h"
#include "PgBenchServer.h"

namespace {

constexpr int kRows = 100000;
const char* const kState = "/tmp/nuv_bench_pg";

void StopServer() {
  const std::string command = std::string(NUV_PG_SERVER_SCRIPT) + " stop " + kState + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "bench: the throwaway server did not stop\n");
}

}  // namespace

const std::string& bench::PgConninfo() {
  static const std::string conninfo = [] {
    std::string text;
    if (const char* given = std::getenv("NUV_PG_CONNINFO")) {
      text = given;
    } else {
      const std::string command = std::string(NUV_PG_SERVER_SCRIPT) + " start " + kState + " >/dev/null";
      if (std::system(command.c_str()) != 0)
        throw std::runtime_error("no PostgreSQL server for the benchmark");
      std::atexit(StopServer);
      std::ifstream in(std::string(kState) + "/conninfo");
      std::getline(in, text);
    }
    PGconn* connection = PQconnectdb(text.c_str());
    const std::string sql =
        "DROP TABLE IF EXISTS BENCH; CREATE TABLE BENCH (ID TEXT PRIMARY KEY, N INTEGER, X DOUBLE PRECISION, "
        "S TEXT); INSERT INTO BENCH SELECT 'K' || I, I, I * 0.5, 'part name number ' || I "
        "FROM generate_series(0, " +
        std::to_string(kRows - 1) + ") AS I; ANALYZE BENCH";
    PGresult* result = PQexec(connection, sql.c_str());
    const bool written = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    PQfinish(connection);
    if (!written) throw std::runtime_error("the benchmark table could not be written");
    return text;
  }();
  return conninfo;
}

namespace {

const std::string& Conninfo() { return bench::PgConninfo(); }

// The variables a row is read into.
struct Row {
  std::string id;
  int n = 0;
  double x = 0;
  std::string s;
};

// The row's values parsed from row r of the answer, as a program would.
void ReadRow(const PGresult* result, int r, Row& row) {
  row.id = PQgetvalue(result, r, 0);
  row.n = std::atoi(PQgetvalue(result, r, 1));
  row.x = std::strtod(PQgetvalue(result, r, 2), nullptr);
  row.s = PQgetvalue(result, r, 3);
}

// The host on the benchmark's server, installed as the session; null, with
// the benchmark skipped, when it cannot be opened.
std::unique_ptr<NUVPostgresHost> InstalledHost(benchmark::State& state) {
  std::string message;
  auto host = NUVPostgresHost::Open(Conninfo(), message);
  if (!host) {
    state.SkipWithError(message.c_str());
    return nullptr;
  }
  host->Install();
  return host;
}

// The variables a row is read into with their bindings, and the headers a
// program makes from the bindings.
struct BoundWithHeaders {
  BoundWithHeaders() {
    NUVUnicodeString columns;
    NUVEdbBrokerTool().ExtractInputDefinition(row.bindings, headers.get(), columns);
  }
  bench::BoundRow row;
  NUVRefList headers;
};

void PgRawLoop(benchmark::State& state) {
  PGconn* connection = PQconnectdb(Conninfo().c_str());
  Row row;
  for (auto _ : state) {
    const char* values[] = {"0"};
    PGresult* result = PQexecParams(connection, "SELECT ID, N, X, S FROM BENCH WHERE N >= $1", 1, nullptr,
                                    values, nullptr, nullptr, 0);
    const int rows = PQntuples(result);
    for (int r = 0; r < rows; ++r) ReadRow(result, r, row);
    PQclear(result);
    benchmark::DoNotOptimize(row);
    state.counters["rows"] = rows;
  }
  PQfinish(connection);
}
BENCHMARK(PgRawLoop)->Name("PgRoad/Raw")->Unit(benchmark::kMillisecond);

// As a program does it: headers from the bindings, the run, and every row
// extracted into the variables.
void PgLibraryRoad(benchmark::State& state) {
  auto host = InstalledHost(state);
  if (!host) return;
  BoundWithHeaders bound;
  NUVRefList parameters{new NUVEdbSQLData(":MIN", 0)};
  NUVEdbBrokerTool broker;
  for (auto _ : state) {
    NUVUnicodeString statement;
    broker.PreProcessSQLStatement("SELECT ID, N, X, S FROM BENCH WHERE N >= :MIN", parameters, statement);
    NUVEdbResultTable table;
    host->Run(statement, table, &bound.headers.get());
    int rows = 0;
    table.GetNumberOfRows(rows);
    for (int r = 1; r <= rows; ++r) broker.ExtractOutput(table, bound.row.bindings, host->Query(), r);
    benchmark::DoNotOptimize(bound.row.n);
    state.counters["rows"] = rows;
  }
  host.reset();
}
BENCHMARK(PgLibraryRoad)->Name("PgRoad/Library")->Unit(benchmark::kMillisecond);

// One row by its key, the commonest query of a program: what a statement
// costs beyond its rows (round trips to the server, the table's making).
std::string KeyOf(int64_t i) { return "K" + std::to_string(i * 7919 % kRows); }

void PgRawLookup(benchmark::State& state) {
  PGconn* connection = PQconnectdb(Conninfo().c_str());
  Row row;
  int64_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    const std::string key = KeyOf(++i);
    const char* values[] = {key.c_str()};
    PGresult* result = PQexecParams(connection, "SELECT ID, N, X, S FROM BENCH WHERE ID = $1", 1, nullptr,
                                    values, nullptr, nullptr, 0);
    if (PQntuples(result) == 1) {
      ++found;
      ReadRow(result, 0, row);
    }
    PQclear(result);
    benchmark::DoNotOptimize(row);
  }
  state.counters["found"] =
      benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
  PQfinish(connection);
}
BENCHMARK(PgRawLookup)->Name("PgLookup/Raw")->Unit(benchmark::kMicrosecond);

void PgLibraryLookup(benchmark::State& state) {
  auto host = InstalledHost(state);
  if (!host) return;
  BoundWithHeaders bound;
  NUVEdbBrokerTool broker;
  int64_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    NUVRefList parameters{new NUVEdbSQLData(":KEY", NUVUnicodeString(KeyOf(++i).c_str()), 0)};
    NUVUnicodeString statement;
    broker.PreProcessSQLStatement("SELECT ID, N, X, S FROM BENCH WHERE ID = :KEY", parameters, statement);
    NUVEdbResultTable table;
    host->Run(statement, table, &bound.headers.get());
    found += broker.ExtractOutput(table, bound.row.bindings, host->Query(), 1) >= 0 ? 1 : 0;
    benchmark::DoNotOptimize(bound.row.n);
  }
  state.counters["found"] =
      benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
  host.reset();
}
BENCHMARK(PgLibraryLookup)->Name("PgLookup/Library")->Unit(benchmark::kMicrosecond);

// One row changed by its key: a writing statement runs in a transaction
// of its own.
void PgRawUpdate(benchmark::State& state) {
  PGconn* connection = PQconnectdb(Conninfo().c_str());
  int64_t i = 0;
  for (auto _ : state) {
    const std::string key = KeyOf(++i);
    const char* values[] = {key.c_str()};
    PGresult* result = PQexecParams(connection, "UPDATE BENCH SET N = N WHERE ID = $1", 1, nullptr, values,
                                    nullptr, nullptr, 0);
    if (PQresultStatus(result) != PGRES_COMMAND_OK) state.SkipWithError("the update failed");
    PQclear(result);
  }
  PQfinish(connection);
}
BENCHMARK(PgRawUpdate)->Name("PgUpdate/Raw")->Unit(benchmark::kMicrosecond);

void PgLibraryUpdate(benchmark::State& state) {
  auto host = InstalledHost(state);
  if (!host) return;
  NUVEdbBrokerTool broker;
  int64_t i = 0;
  for (auto _ : state) {
    NUVRefList parameters{new NUVEdbSQLData(":KEY", NUVUnicodeString(KeyOf(++i).c_str()), 0)};
    NUVUnicodeString statement;
    broker.PreProcessSQLStatement("UPDATE BENCH SET N = N WHERE ID = :KEY", parameters, statement);
    NUVEdbResultTable table;
    if (host->Run(statement, table) < 0) state.SkipWithError("the update failed");
  }
  host.reset();
}
BENCHMARK(PgLibraryUpdate)->Name("PgUpdate/Library")->Unit(benchmark::kMicrosecond);

}  // namespace
