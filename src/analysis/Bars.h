#pragma once

#include "data/PriceSeries.h"

namespace nimbrel {

enum class BarPeriod { Daily, Weekly, Monthly };

// Turns the loaded days into bars of a calendar week (Monday to Sunday) or a calendar month:
// the open of the first day, the highest high, the lowest low, the close of the last day, dated
// by the last day. One-price days give one-price bars at the price of the bar's last day. A new
// bar starts whenever a day falls in another period than the day before it, so days out of order
// never merge into a bar they do not belong to; a date that is no calendar day stands alone.
// The titles and the number of price fields are kept; every row past the bars and the whole
// Ichimoku table are cleared, ready for computeIchimoku. `bars` may be `days` itself.
void makeBars(const PriceSeries& days, BarPeriod period, PriceSeries& bars);

// The bar whose period holds `date`: the first bar dated on or after it, as bars are dated by
// their last day; 0 when every bar is older. Marks kept by date find their bar through this
// after the user switches between daily, weekly and monthly bars.
[[nodiscard]] int barOfDate(const PriceSeries& bars, Fixed4 date);

} // namespace nimbrel
