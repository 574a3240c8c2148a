#pragma once

#include "data/PriceSeries.h"

namespace nimbrel {

inline constexpr int kConversionDays = 9;
inline constexpr int kBaseDays = 26;
inline constexpr int kSpan2Days = 52;
// Leading span 1 first exists the day after both of its lines do.
inline constexpr int kFirstSpan1Day = kBaseDays + 1;

// Fills the four indicator columns of ichimokuTable from the highs and lows of days
// 1..dataCount. Cells before the first full window of each line are left as they are (zero
// after a load).
void computeIchimoku(PriceSeries& series);

} // namespace nimbrel
