#pragma once

#include "data/PriceSeries.h"

#include <string>

namespace nimbrel {

// The table of a loaded series as CSV: a header line, then days 1..dataCount with their prices
// and Ichimoku lines in shortest plain decimal form, lines ending in LF.
std::string csvTable(const PriceSeries& series);

} // namespace nimbrel
