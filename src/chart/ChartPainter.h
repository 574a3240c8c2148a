#pragma once

#include "chart/ChartLayout.h"
#include "chart/ChartProfile.h"
#include "chart/ViewState.h"
#include "data/PriceSeries.h"
#include "render/Surface.h"

namespace nimbrel {

// Draws the whole chart of the view in one pass: grid, cloud and spans, lagging line,
// conversion and base lines, candles, title, legend and date labels, and returns the layout it
// drew (the frame, the day slots, the price mapping and the date groups). Normalises the view's
// firstDay and changes nothing else of it. With no data (or no height on a window) it only
// clears, and the layout returned has no range.
ChartLayout drawChart(Surface& surface, const PriceSeries& series, ViewState& view,
                      const ChartProfile& profile, SheetPart part = SheetPart::Whole);

} // namespace nimbrel
