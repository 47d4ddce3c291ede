// Runs every benchmark, then prints each figure as a ratio against its
// reference from the same run, beside its target.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <thread>

#include "BenchData.h"

namespace {

struct Figure {
  double seconds = 0;  // real time per iteration
  std::map<std::string, double> counters;
};

// Keeps what the console shows, by benchmark name.
class KeepingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // Repeated runs report aggregates; the summary reads their median.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      Figure& figure = figures[run.run_name.str()];
      figure.seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      for (const auto& [name, counter] : run.counters) figure.counters[name] = counter.value;
    }
  }
  std::map<std::string, Figure> figures;
};

class Summary {
 public:
  explicit Summary(const std::map<std::string, Figure>& figures) : figures_(figures) {}

  // Prints a / b beside the target (0: none, report only).
  void Ratio(const char* what, const std::string& a, const std::string& b, double target, double perA = 1,
             double perB = 1) const {
    if (!Has(a) || !Has(b)) {
      std::printf("%-58s %10s\n", what, "(not run)");
      return;
    }
    const double ratio = (Seconds(a) / perA) / (Seconds(b) / perB);
    Line(what, ratio, "x", target, ratio <= target);
  }
  // Prints a counter beside its target (0: none).
  void Counter(const char* what, const std::string& name, const char* counter, const char* unit,
               double target) const {
    if (!Has(name) || figures_.at(name).counters.count(counter) == 0) return;
    const double value = figures_.at(name).counters.at(counter);
    Line(what, value, unit, target, value <= target);
  }
  void Time(const char* what, const std::string& name) const {
    if (Has(name)) std::printf("%-58s %10.1f us\n", what, Seconds(name) * 1e6);
  }
  double CounterOf(const std::string& name, const char* counter) const {
    return figures_.at(name).counters.at(counter);
  }

 private:
  bool Has(const std::string& name) const { return figures_.count(name) > 0; }
  double Seconds(const std::string& name) const { return figures_.at(name).seconds; }
  static void Line(const char* what, double value, const char* unit, double target, bool met) {
    if (target > 0) {
      std::printf("%-58s %10.2f %-3s target <= %-6.2f %s\n", what, value, unit, target,
                  met ? "met" : "MISSED");
    } else {
      std::printf("%-58s %10.2f %-3s (reported)\n", what, value, unit);
    }
  }
  const std::map<std::string, Figure>& figures_;
};

void PrintSummary(const std::map<std::string, Figure>& figures) {
  const Summary s(figures);
  std::printf("\nFigures against references measured in this run\n");
  s.Ratio("whole road / raw SQLite loop (100 000 rows)", "Road/Library", "Road/Raw", 2.0);
  s.Counter("whole road / raw SQLite loop, passes taken in turns", "Road/Paired", "ratio", "x", 2.0);
  s.Counter("the same over 3 000 rows (the table within the L2 cache)", "Road/PairedSmall", "ratio", "x", 0);
  s.Ratio("whole road / raw loop opened as the host opens it", "Road/Library", "Road/RawNoMutex", 0);
  s.Ratio("SOCI into() / raw SQLite loop", "Road/SociInto", "Road/Raw", 0);
  s.Ratio("one row by its key / raw SQLite query", "Lookup/Library", "Lookup/Raw", 0);
  s.Ratio("one row changed by its key / raw SQLite update", "Update/Library", "Update/Raw", 0);
  s.Ratio("whole road / raw libpq loop (100 000 rows, Unix socket)", "PgRoad/Library", "PgRoad/Raw", 1.5);
  s.Ratio("SOCI into() / raw libpq loop", "PgRoad/SociInto", "PgRoad/Raw", 0);
  s.Ratio("one row by its key / raw libpq query", "PgLookup/Library", "PgLookup/Raw", 0);
  s.Ratio("one row changed by its key / raw libpq update", "PgUpdate/Library", "PgUpdate/Raw", 0);
  s.Ratio("SOCI rowset<row> / raw SQLite loop", "Road/SociRowset", "Road/Raw", 0);
  s.Ratio("row access per row, 1 000 000 rows / 1 000 rows", "RowAccess/1000000", "RowAccess/1000", 1.3, 1000,
          1);
  s.Ratio("row access per row, 100 000 rows / 1 000 rows", "RowAccess/100000", "RowAccess/1000", 1.3, 100, 1);
  s.Ratio("pre-processing 100 parameters / raw find-and-replace", "PreProcess/Library/100",
          "PreProcess/Raw/100", 1.3);
  s.Ratio("pre-processing per parameter, 100 / 25 (linear: ~1)", "PreProcess/Library/100",
          "PreProcess/Library/25", 0, 4, 1);
  s.Ratio("SequenceToUnicode 1 MiB / memcpy 2 MiB", "Octets/SequenceToUnicode", "Octets/Memcpy/2097152", 3);
  s.Ratio("UnicodeToSequence 2 MiB text / memcpy 1 MiB", "Octets/UnicodeToSequence", "Octets/Memcpy/1048576",
          3);
  s.Ratio("\"%.2X\" loop / SequenceToUnicode (speed-up)", "Octets/PrintfLoop", "Octets/SequenceToUnicode", 0);
  s.Counter("heap bytes per scalar result cell, names included", "Memory/ScalarCell/iterations:1",
            "bytes_per_cell", "B", 128);
  s.Counter("heap of the million-row table", "Memory/MillionRowTable/iterations:1", "heap_MiB", "MiB", 0);
  s.Time("FindRowNumber, first row of 100 000", "FindRowNumber/0");
  s.Time("FindRowNumber, last row of 100 000", "FindRowNumber/1");
}

}  // namespace

int main(int argc, char** argv) {
  // `--threaded` measures a process that has run a second thread, where
  // reference counts take locked instructions.
  const bool threaded = argc > 1 && std::string(argv[argc - 1]) == "--threaded";
  if (threaded) --argc;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (threaded) std::thread([] {}).join();
  // The memory figures build a million-row table in a child process: only
  // when a Memory benchmark is among those asked for.
  const std::string filter = benchmark::GetBenchmarkFilter();
  if (filter.empty() || filter == "." || filter == "all" || filter.find("Memory") != std::string::npos) {
    bench::TakeMemoryFigures();
  }
  KeepingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  PrintSummary(reporter.figures);
  return 0;
}
