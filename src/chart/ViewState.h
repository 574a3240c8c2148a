#pragma once

#include "chart/ChartMarks.h"
#include "data/Fixed4.h"

#include <cstdint>

namespace nimbrel {

// The spans and the forward lagging line are drawn this many day slots right of the day that
// holds them, and the back lagging line as many slots left; the chart keeps as many empty
// slots right of the newest day for them.
inline constexpr int kLeadSlots = 25;

// Which days are drawn and how, as the user chose it. What a drawing pass computes from it
// lives in the pass's layout.
struct ViewState {
    int16_t maxLength = 120; // days across the chart when the view is reset
    int16_t firstDay = 0;    // leftmost drawn day; below 1 means not set yet
    int32_t endOffset = 0;   // newest days left out at the right
    Fixed4 visibleHigh;      // highest high of the drawn days, or the user's range
    Fixed4 visibleLow;
    float userStep = 0; // price-axis step chosen by the user; 0 is automatic
    bool logY = false;
    float reduceX = 1;
    float reduceY = 1;
    Fixed4 decimalsUnit = Fixed4::fromUnits(100); // price unit of the last shown decimal: 0.01
    bool spanForward = true;                      // lagging line drawn kLeadSlots right
    bool spanBack = false;                        // lagging line drawn kLeadSlots left
    BarPeriod bars = BarPeriod::Daily; // what a slot of the series shown is: a day, a week...
    ChartMarks marks;                  // time marks and price targets on the chart
};

inline int lastDayOf(int32_t dataCount, const ViewState& view) {
    return dataCount - view.endOffset;
}

} // namespace nimbrel
