#pragma once

#include "chart/ViewState.h"
#include "data/PriceSeries.h"

// An unset firstDay becomes the first of the newest maxLength days (or day 1).
void normaliseFirstDay(int32_t dataCount, ViewState& view);

// Normalises firstDay and finds the highest high and lowest low of the drawn days
// (firstDay..dataCount - endOffset). With no drawn day the range stays at 0 and 1,000,000,000.
void scanVisibleRange(const PriceSeries& series, ViewState& view);
