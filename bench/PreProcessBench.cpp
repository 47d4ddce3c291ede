// Pre-processing scalar parameters into a 10 KB statement, against a raw
// find-and-replace loop making the same substitutions in the same order.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"
#include "TestLists.h"

namespace {

std::string Name(int i) {
  char name[16];
  std::snprintf(name, sizeof name, ":P%03d", i);
  return name;
}

// About 10 KB of statement text in which each of the names stands once.
std::string Statement(int parameters) {
  std::string statement = "SELECT * FROM BENCH WHERE ";
  const size_t filler = 10240 / static_cast<size_t>(parameters);
  for (int i = 0; i < parameters; ++i) {
    statement += "N = " + Name(i) + " OR ";
    statement.append(filler > 20 ? filler - 20 : 1, ' ');
  }
  return statement + "0";
}

void RawReplace(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string statement = Statement(count);
  std::vector<std::string> names;
  std::vector<std::string> values;
  for (int i = 0; i < count; ++i) {
    names.push_back(Name(i));
    values.push_back(std::to_string(i * 7));
  }
  for (auto _ : state) {
    std::string text = statement;
    for (int i = 0; i < count; ++i) {
      for (size_t at = text.find(names[i]); at != std::string::npos;
           at = text.find(names[i], at + values[i].size())) {
        text.replace(at, names[i].size(), values[i]);
      }
    }
    benchmark::DoNotOptimize(text);
  }
  state.counters["parameters"] = count;
}
BENCHMARK(RawReplace)->Name("PreProcess/Raw")->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

void Library(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const NUVUnicodeString statement(Statement(count).c_str());
  OwnedList parameters;
  for (int i = 0; i < count; ++i) parameters.Adopt(new NUVEdbSQLData(Name(i).c_str(), i * 7));
  NUVEdbBrokerTool broker;
  for (auto _ : state) {
    NUVUnicodeString result;
    broker.PreProcessSQLStatement(statement, parameters, result);
    benchmark::DoNotOptimize(result);
  }
  state.counters["parameters"] = count;
}
BENCHMARK(Library)->Name("PreProcess/Library")->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
