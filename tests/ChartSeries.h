#pragma once

#include "data/PriceSeries.h"

#include <memory>

namespace nimbrel {

// A computed series of `days` candles between 4000 and 5000: day d rises when d is even, the
// highest high (5000) is on the last day and the lowest low (4000) on day 1.
std::unique_ptr<PriceSeries> chartSeries(int days);

// The same days with one price each, the open: a file of one price a day.
std::unique_ptr<PriceSeries> onePriceSeries(int days);

} // namespace nimbrel
