#pragma once

#include "chart/ChartProfile.h"
#include "chart/ViewState.h"
#include "data/PriceSeries.h"
#include "platform/Surface.h"

// Draws the whole chart of the view in one pass: grid, cloud and spans, lagging line,
// conversion and base lines, candles, title, legend and date labels. Leaves the frame, the
// slot width and the date groups in the view, keeps its range as it was and clears the split
// flags. With no data (or no height on a window) it only clears.
void drawChart(Surface& surface, const PriceSeries& series, ViewState& view,
               const ChartProfile& profile);
