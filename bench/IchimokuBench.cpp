// The four Ichimoku lines over a full series.
#include "BenchDays.h"

#include "ichimoku/Ichimoku.h"

#include <benchmark/benchmark.h>

namespace nimbrel {

namespace {

void BM_ComputeIchimoku(benchmark::State& state) {
    auto series = loadedFullSeries(state);
    if (!series) return;
    for (auto _ : state) {
        computeIchimoku(*series);
        benchmark::DoNotOptimize(series->ichimokuTable[kMaxDays]);
        benchmark::ClobberMemory();
    }
    // A line that was never filled would make a fast figure meaningless.
    if (series->ichimokuTable[kMaxDays].span2 == Fixed4())
        state.SkipWithError("the last day has no leading span 2");
}
BENCHMARK(BM_ComputeIchimoku)->Unit(benchmark::kMicrosecond);

} // namespace

} // namespace nimbrel
