// The peer a user would pick instead: the same query read into the same
// variables with SOCI's SQLite backend.
#include <benchmark/benchmark.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include <string>

#include "BenchData.h"
#include "NUVEdsGeneralTool.h"

namespace road {

// Reads every row into the variables through into(); answers the rows read.
[[gnu::noinline]] int SociIntoPass(soci::session& sql, const NUVEdsGeneralTool& blanks, std::string& id,
                                   int& n, double& x, std::string& s, std::string& decoded) {
  const int minimum = 0;
  soci::statement st = (sql.prepare << "SELECT ID, N, X, S FROM BENCH WHERE N >= :m", soci::use(minimum),
                        soci::into(id), soci::into(n), soci::into(x), soci::into(s));
  st.execute();
  int rows = 0;
  while (st.fetch()) {
    decoded = blanks.DecodeBlanks(s.c_str()).CastToCharPtr();
    ++rows;
  }
  return rows;
}

}  // namespace road

namespace {

void SociInto(benchmark::State& state) {
  soci::session sql(*soci::factory_sqlite3(), "db=" + bench::RoadDatabase());
  const NUVEdsGeneralTool blanks;
  std::string id;
  int n = 0;
  double x = 0;
  std::string s;
  std::string decoded;
  for (auto _ : state) {
    const int rows = road::SociIntoPass(sql, blanks, id, n, x, s, decoded);
    benchmark::DoNotOptimize(decoded);
    state.counters["rows"] = rows;
  }
}
BENCHMARK(SociInto)->Name("Road/SociInto")->Unit(benchmark::kMillisecond);

void SociRowset(benchmark::State& state) {
  soci::session sql(*soci::factory_sqlite3(), "db=" + bench::RoadDatabase());
  NUVEdsGeneralTool blanks;
  std::string id;
  int n = 0;
  double x = 0;
  std::string decoded;
  for (auto _ : state) {
    const int minimum = 0;
    soci::rowset<soci::row> rows =
        (sql.prepare << "SELECT ID, N, X, S FROM BENCH WHERE N >= :m", soci::use(minimum));
    int count = 0;
    for (const soci::row& row : rows) {
      id = row.get<std::string>(0);
      n = row.get<int>(1);
      x = row.get<double>(2);
      decoded = blanks.DecodeBlanks(row.get<std::string>(3).c_str()).CastToCharPtr();
      ++count;
    }
    benchmark::DoNotOptimize(id);
    benchmark::DoNotOptimize(n);
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(decoded);
    state.counters["rows"] = count;
  }
}
BENCHMARK(SociRowset)->Name("Road/SociRowset")->Unit(benchmark::kMillisecond);

}  // namespace
