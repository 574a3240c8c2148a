#pragma once

#include "data/PriceSeries.h"

#include <string_view>

namespace nimbrel {

// Fills every cell of the series with non-zero values, so that a load which fails to clear
// what the series held before shows up in checkLoadedSeries.
void dirtySeries(PriceSeries& series);

// Runs the Ichimoku computation and the CSV export on a loaded series and aborts when the
// result breaks what every load promises: 0..kMaxDays days, a price field count that matches
// them, rows 0 and beyond dataCount all zero, no Ichimoku value before its first full window,
// and one CSV line per day after the header.
void checkLoadedSeries(PriceSeries& series, std::string_view what);

} // namespace nimbrel
