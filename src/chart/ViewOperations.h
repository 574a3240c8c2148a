#pragma once

#include "chart/ViewState.h"
#include "data/PriceSeries.h"

namespace nimbrel {

// What the user can do to the view: the one place where the drawn days and the price range
// are chosen, for the window and the command line alike.

// The first of the newest maxLength days, or day 1 when no more than maxLength are loaded.
int firstOfNewestDays(int32_t dataCount, int maxLength);

// An unset firstDay (below 1) becomes the first of the newest maxLength days.
void normaliseFirstDay(int32_t dataCount, ViewState& view);

// Normalises firstDay and finds the highest high and lowest low of the drawn days
// (firstDay..dataCount - endOffset). With no drawn day the range stays at 0 and 1,000,000,000.
void scanVisibleRange(const PriceSeries& series, ViewState& view);

// The newest maxLength days, up to the newest loaded day: after a load and on a reset.
void showNewestDays(const PriceSeries& series, ViewState& view);

// Days first..last (last is at most dataCount; a last below first leaves no day drawn).
void showDays(const PriceSeries& series, ViewState& view, int first, int last);

// A price range of the user's own: it holds until the next scan of the drawn days.
void setPriceRange(ViewState& view, Fixed4 high, Fixed4 low);

} // namespace nimbrel
