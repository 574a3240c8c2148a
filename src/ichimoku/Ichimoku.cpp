#include "ichimoku/Ichimoku.h"

#include <algorithm>
#include <vector>

namespace {

// The highest high starts at 0 and the lowest low at 999999999, so a window whose highs are
// all 0 or below keeps 0 as its high (and likewise for the low).
constexpr Fixed4 kHighStart = Fixed4::fromWhole(0);
constexpr Fixed4 kLowStart = Fixed4::fromWhole(999999999);

// Midpoint of the highest high and lowest low of days d-L+1..d, stored at day d.
// Running extremes over blocks of L days, from the left and from the right, give every
// window's extremes in three passes instead of L steps a day (van Herk / Gil-Werman).
void midpointLine(PriceSeries& series, int count, int length, Fixed4 IchimokuRow::*column) {
    if (count < length) return;
    const auto& prices = series.priceTable;
    std::vector<Fixed4> highFromLeft(count + 1), lowFromLeft(count + 1);
    std::vector<Fixed4> highFromRight(count + 2), lowFromRight(count + 2);
    for (int d = 1; d <= count; ++d) {
        const bool blockStart = (d - 1) % length == 0;
        highFromLeft[d] = std::max(blockStart ? kHighStart : highFromLeft[d - 1], prices[d].high);
        lowFromLeft[d] = std::min(blockStart ? kLowStart : lowFromLeft[d - 1], prices[d].low);
    }
    for (int d = count; d >= 1; --d) {
        const bool blockEnd = d % length == 0 || d == count;
        highFromRight[d] = std::max(blockEnd ? kHighStart : highFromRight[d + 1], prices[d].high);
        lowFromRight[d] = std::min(blockEnd ? kLowStart : lowFromRight[d + 1], prices[d].low);
    }
    for (int last = length; last <= count; ++last) {
        const int first = last - length + 1;
        const Fixed4 high = std::max(highFromRight[first], highFromLeft[last]);
        const Fixed4 low = std::min(lowFromRight[first], lowFromLeft[last]);
        series.ichimokuTable[last].*column = midpoint(high, low);
    }
}

} // namespace

void computeIchimoku(PriceSeries& series) {
    const int count = std::clamp(series.dataCount, 0, kMaxDays);
    midpointLine(series, count, kConversionDays, &IchimokuRow::conversion);
    midpointLine(series, count, kBaseDays, &IchimokuRow::base);
    for (int d = kFirstSpan1Day; d <= count; ++d) {
        IchimokuRow& row = series.ichimokuTable[d];
        row.span1 = midpoint(row.conversion, row.base);
    }
    midpointLine(series, count, kSpan2Days, &IchimokuRow::span2);
}
