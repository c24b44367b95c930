// Throughput of ConvertLogToTrack on a log of a million point lines.

#include <benchmark/benchmark.h>

#include <string>

#include "convert/convert_log_to_track.h"
#include "convert/float_policy.h"

namespace log2plt {
namespace {

constexpr int kPointLines = 1'000'000;

LineList MakeLog(int point_lines) {
  std::string text;
  text.reserve(static_cast<std::size_t>(point_lines) * 48 + 64);
  text += "$GPLOG,000001,06:12:07,A,start\r\n";
  for (int i = 0; i < point_lines; ++i) {
    text += "55.";
    text += std::to_string(7000000 + i % 999983);
    text += " 37.";
    text += std::to_string(6000000 + (i * 7) % 999979);
    text += " 152.4 0.8 12\r\n";
  }
  text += "$GPLOG,000002,17:45:31,A,end\r\n";
  LineList log;
  log.AssignNarrowText(std::move(text));
  return log;
}

void BM_ConvertLogToTrack(benchmark::State& state) {
  ApplyFloatingPointPolicy();
  const LineList log = MakeLog(kPointLines);
  FormatSettings settings;
  settings.long_time_pattern = u"hh:mm:ss";
  LineList track;
  for (auto _ : state) {
    ConvertLogToTrack(log, 40037, track, settings);
    benchmark::DoNotOptimize(track);
  }
  state.SetItemsProcessed(state.iterations() * kPointLines);
  state.counters["point_lines_per_s"] = benchmark::Counter(
      static_cast<double>(kPointLines), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ConvertLogToTrack)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace log2plt

BENCHMARK_MAIN();
