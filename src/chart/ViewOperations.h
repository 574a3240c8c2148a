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

// Moving through time, as the keys, the wheel and a drag do. Each keeps the drawn days within
// the loaded ones, scans their range and says whether the drawn days changed.

// The fewest days drawn by showing fewer; more are drawn when fewer are loaded.
inline constexpr int kFewestDaysDrawn = 10;

// The number of days drawn (at least 1 while days are loaded).
int daysDrawn(int32_t dataCount, const ViewState& view);

// The drawn days moved `days` towards the newest (negative: towards the oldest), as many as
// before; they stop at the oldest and the newest loaded day.
bool scrollDays(const PriceSeries& series, ViewState& view, int days);

// The oldest or the newest loaded days, as many as are drawn now.
bool showOldestDays(const PriceSeries& series, ViewState& view);
bool showNewestOfDrawn(const PriceSeries& series, ViewState& view);

// `count` days drawn (within kFewestDaysDrawn and the days loaded), placed so that day
// `anchor` keeps its place across the chart.
bool showDaysAround(const PriceSeries& series, ViewState& view, int count, int anchor);

// A price range of the user's own: it holds until the next scan of the drawn days.
void setPriceRange(ViewState& view, Fixed4 high, Fixed4 low);

} // namespace nimbrel
