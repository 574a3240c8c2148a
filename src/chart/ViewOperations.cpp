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

namespace {

int firstDrawn(int32_t dataCount, const ViewState& view) {
    return view.firstDay < 1 ? firstOfNewestDays(dataCount, view.maxLength) : int(view.firstDay);
}

// Days first..first + count - 1, moved inside the loaded days; false when they are drawn now.
bool placeDays(const PriceSeries& series, ViewState& view, int first, int count) {
    if (series.dataCount < 1) return false;
    count = std::clamp(count, 1, int(series.dataCount));
    first = std::clamp(first, 1, int(series.dataCount) - count + 1);
    const int last = first + count - 1;
    if (view.firstDay == first && lastDayOf(series.dataCount, view) == last) return false;
    showDays(series, view, first, last);
    return true;
}

} // namespace

int daysDrawn(int32_t dataCount, const ViewState& view) {
    const int drawn = lastDayOf(dataCount, view) - firstDrawn(dataCount, view) + 1;
    return std::clamp(drawn, 1, std::max<int>(dataCount, 1));
}

bool scrollDays(const PriceSeries& series, ViewState& view, int days) {
    return placeDays(series, view, firstDrawn(series.dataCount, view) + days,
                     daysDrawn(series.dataCount, view));
}

bool showOldestDays(const PriceSeries& series, ViewState& view) {
    return placeDays(series, view, 1, daysDrawn(series.dataCount, view));
}

bool showNewestOfDrawn(const PriceSeries& series, ViewState& view) {
    const int count = daysDrawn(series.dataCount, view);
    return placeDays(series, view, series.dataCount - count + 1, count);
}

bool showDaysAround(const PriceSeries& series, ViewState& view, int count, int anchor) {
    const int drawn = daysDrawn(series.dataCount, view);
    count = std::max(count, std::min<int>(kFewestDaysDrawn, drawn));
    const int first = firstDrawn(series.dataCount, view);
    // The anchor's share of the days left of it stays as it was.
    const double share = drawn > 1 ? double(anchor - first) / (drawn - 1) : 1.0;
    const int newFirst = anchor - static_cast<int>(std::lround(share * (count - 1)));
    return placeDays(series, view, newFirst, count);
}

void setPriceRange(ViewState& view, Fixed4 high, Fixed4 low) {
    view.visibleHigh = high;
    view.visibleLow = low;
}

} // namespace nimbrel
