#pragma once

#include "chart/ChartLayout.h"
#include "data/Fixed4.h"

#include <QString>

namespace nimbrel {

// The rules the mouse tools share: which day lies under the pointer, and how a price is shown.

// The day whose slot is nearest to x (twips of the client area) on the chart the layout drew;
// a tie goes to the later day. Never below day 1; right of the newest day it runs on past
// the loaded days.
int dayAt(const ChartLayout& layout, double x);

// A price, or a difference of prices, rounded to decimalsUnit and written in general form (1234.57
// with decimalsUnit 0.01, 1235 with decimalsUnit 1).
QString priceText(Fixed4 value, Fixed4 decimalsUnit);
QString priceText(double value, Fixed4 decimalsUnit);

// A date of the price table as it is written: 19971109.
QString dateText(Fixed4 date);

} // namespace nimbrel
