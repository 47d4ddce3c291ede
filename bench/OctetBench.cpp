// The octet conversions over 1 MiB, against memcpy of the output's size
// and against formatting each byte with "%.2X".
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "NUVEdbGeneralTool.h"

namespace {

constexpr unsigned long kBytes = 1UL << 20;

_SEQUENCE_SEQUENCE_octet Bytes() {
  _SEQUENCE_SEQUENCE_octet bytes;
  bytes.length(kBytes);
  for (unsigned long i = 0; i < kBytes; ++i) bytes[i] = static_cast<unsigned char>(i * 131 + 7);
  return bytes;
}

void MemcpyOf(benchmark::State& state) {
  const size_t size = static_cast<size_t>(state.range(0));
  std::vector<char> from(size, 'A');
  std::vector<char> to(size);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), size);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(MemcpyOf)->Name("Octets/Memcpy")->Arg(kBytes)->Arg(2 * kBytes)->Unit(benchmark::kMicrosecond);

void SequenceToUnicode(benchmark::State& state) {
  const _SEQUENCE_SEQUENCE_octet bytes = Bytes();
  NUVEdbGeneralTool tool;
  for (auto _ : state) benchmark::DoNotOptimize(tool.SequenceToUnicode(bytes));
}
BENCHMARK(SequenceToUnicode)->Name("Octets/SequenceToUnicode")->Unit(benchmark::kMicrosecond);

void UnicodeToSequence(benchmark::State& state) {
  NUVEdbGeneralTool tool;
  const NUVUnicodeString text = tool.SequenceToUnicode(Bytes());
  for (auto _ : state) benchmark::DoNotOptimize(tool.UnicodeToSequence(text));
}
BENCHMARK(UnicodeToSequence)->Name("Octets/UnicodeToSequence")->Unit(benchmark::kMicrosecond);

void FormattedBytes(benchmark::State& state) {
  const _SEQUENCE_SEQUENCE_octet bytes = Bytes();
  std::vector<char> text(2 * kBytes + 1);
  for (auto _ : state) {
    for (unsigned long i = 0; i < kBytes; ++i) std::snprintf(&text[2 * i], 3, "%.2X", bytes[i]);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(FormattedBytes)->Name("Octets/PrintfLoop")->Unit(benchmark::kMicrosecond);

}  // namespace
