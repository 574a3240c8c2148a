// Writing a full series with its Ichimoku lines as a CSV table.
#include "BenchDays.h"

#include "data/CsvExport.h"
#include "ichimoku/Ichimoku.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace nimbrel {

namespace {

void BM_CsvTable(benchmark::State& state) {
    auto series = loadedFullSeries(state);
    if (!series) return;
    computeIchimoku(*series);
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string table = csvTable(*series);
        bytes = table.size();
        benchmark::DoNotOptimize(table.data());
    }
    const std::string table = csvTable(*series);
    if (std::count(table.begin(), table.end(), '\n') != kMaxDays + 1)
        state.SkipWithError("the table does not have one line per day");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_CsvTable)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace nimbrel
