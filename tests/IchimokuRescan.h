#pragma once

#include "data/PriceSeries.h"

namespace nimbrel {

// Fails the running test unless every cell of the Ichimoku table equals the plain definition:
// each window rescanned with extremes starting at 0 and 999999999, and every cell outside the
// days or before a line's first full window zero.
void expectEqualsRescan(const PriceSeries& series);

} // namespace nimbrel
