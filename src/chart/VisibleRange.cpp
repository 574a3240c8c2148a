#include "chart/VisibleRange.h"

#include <algorithm>

void normaliseFirstDay(int32_t dataCount, ViewState& view) {
    if (view.firstDay >= 1) return;
    view.firstDay = 1;
    if (view.maxLength < dataCount)
        view.firstDay = static_cast<int16_t>(dataCount - view.maxLength + 1);
}

void scanVisibleRange(const PriceSeries& series, ViewState& view) {
    normaliseFirstDay(series.dataCount, view);
    Fixed4 high = Fixed4::fromWhole(0);
    Fixed4 low = Fixed4::fromWhole(1'000'000'000);
    const int last = std::min(lastDayOf(series.dataCount, view), kMaxDays);
    for (int day = std::max<int>(view.firstDay, 1); day <= last; ++day) {
        const PriceRow& row = series.priceTable[static_cast<size_t>(day)];
        if (row.high > high) high = row.high;
        if (row.low < low) low = row.low;
    }
    view.visibleHigh = high;
    view.visibleLow = low;
}
