// Weekly and monthly bars of a full series, made again each time the user switches bars.
#include "BenchDays.h"

#include "analysis/Bars.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace nimbrel {

namespace {

void makeBarsOfFullSeries(benchmark::State& state, BarPeriod period, int expectedBars) {
    auto days = loadedFullSeries(state);
    if (!days) return;
    auto bars = std::make_unique<PriceSeries>();
    for (auto _ : state) {
        makeBars(*days, period, *bars);
        benchmark::DoNotOptimize(bars->priceTable[bars->dataCount]);
        benchmark::ClobberMemory();
    }
    // The made-up days are weekdays from 1970-01-05, so the count of bars is known.
    if (bars->dataCount != expectedBars)
        state.SkipWithError(("made " + std::to_string(bars->dataCount) + " bars").c_str());
}

void BM_WeeklyBars(benchmark::State& state) {
    makeBarsOfFullSeries(state, BarPeriod::Weekly, kMaxDays / 5);
}
BENCHMARK(BM_WeeklyBars)->Unit(benchmark::kMicrosecond);

void BM_MonthlyBars(benchmark::State& state) {
    // 15000 weekdays from 1970-01-05 are 3000 whole weeks, ending on 2027-07-02.
    makeBarsOfFullSeries(state, BarPeriod::Monthly, 57 * 12 + 7);
}
BENCHMARK(BM_MonthlyBars)->Unit(benchmark::kMicrosecond);

} // namespace

} // namespace nimbrel
