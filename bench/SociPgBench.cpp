// The peer a user would pick instead on a server: the same query read into
// the same variables with SOCI's PostgreSQL backend.
#include <benchmark/benchmark.h>
#include <soci/postgresql/soci-postgresql.h>
#include <soci/soci.h>

#include <string>

#include "PgBenchServer.h"

namespace {

void SociPgInto(benchmark::State& state) {
  soci::session sql(*soci::factory_postgresql(), bench::PgConninfo());
  std::string id;
  int n = 0;
  double x = 0;
  std::string s;
  for (auto _ : state) {
    const int minimum = 0;
    soci::statement st = (sql.prepare << "SELECT ID, N, X, S FROM BENCH WHERE N >= :m", soci::use(minimum),
                          soci::into(id), soci::into(n), soci::into(x), soci::into(s));
    st.execute();
    int rows = 0;
    while (st.fetch()) ++rows;
    benchmark::DoNotOptimize(s);
    state.counters["rows"] = rows;
  }
}
BENCHMARK(SociPgInto)->Name("PgRoad/SociInto")->Unit(benchmark::kMillisecond);

}  // namespace
