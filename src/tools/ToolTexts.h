#pragma once

#include "chart/ChartLayout.h"
#include "chart/ChartTexts.h"
#include "data/Fixed4.h"

#include <QString>

namespace nimbrel {

// Which day lies under the pointer, for every mouse tool. (How they show prices and dates is
// the chart's: priceText and dateText.)

// The day whose slot is nearest to x (twips of the client area) on the chart the layout drew;
// a tie goes to the later day. Never below day 1; right of the newest day it runs on past
// the loaded days.
int dayAt(const ChartLayout& layout, double x);

} // namespace nimbrel
