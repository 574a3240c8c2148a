#pragma once

#include "data/TextDataFile.h"
#include "data/PriceSeries.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>

namespace nimbrel {

// A made-up daily price file in the text format, as a data vendor writes one: two Shift-JIS
// heading lines, then one "YYYYMMDD open high low close" line per weekday from 1970-01-05,
// CR LF after every line, prices in steps of 0.05 with trailing zeros left out. The same
// bytes on every call.
std::string makeDaysText(int days);

// Marks the benchmark failed when a load did not give exactly `days` days, so that a broken
// loader cannot pass for a fast one. True when the load is good.
bool loadSucceeded(benchmark::State& state, const std::optional<LoadFailure>& failure,
                   const PriceSeries& series, int days = kMaxDays);

// A series holding a full-size text load, for the benchmarks of what comes after loading.
// Null (and the benchmark marked failed) when the load does not give kMaxDays days.
std::unique_ptr<PriceSeries> loadedFullSeries(benchmark::State& state);

} // namespace nimbrel
