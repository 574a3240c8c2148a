#include "chart/ViewOperations.h"

#include <algorithm>

namespace nimbrel {

int firstOfNewestDays(int32_t dataCount, int maxLength) {
    return maxLength < dataCount ? dataCount - maxLength + 1 : 1;
}

void normaliseFirstDay(int32_t dataCount, ViewState& view) {
    if (view.firstDay < 1)
        view.firstDay = static_cast<int16_t>(firstOfNewestDays(dataCount, view.maxLength));
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

void showNewestDays(const PriceSeries& series, ViewState& view) {
    view.firstDay = static_cast<int16_t>(firstOfNewestDays(series.dataCount, view.maxLength));
    view.endOffset = 0;
    scanVisibleRange(series, view);
}

void showDays(const PriceSeries& series, ViewState& view, int first, int last) {
    view.firstDay = static_cast<int16_t>(std::clamp(first, 1, kMaxDays));
    view.endOffset = std::max(series.dataCount - last, 0);
    scanVisibleRange(series, view);
}

void setPriceRange(ViewState& view, Fixed4 high, Fixed4 low) {
    view.visibleHigh = high;
    view.visibleLow = low;
}

} // namespace nimbrel
