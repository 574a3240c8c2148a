#include "ichimoku/Ichimoku.h"

#include <algorithm>
#include <array>

namespace nimbrel {

namespace {

// The highest high starts at 0 and the lowest low at 999999999, so a window whose highs are
// all 0 or below keeps 0 as its high (and likewise for the low).
constexpr int64_t kHighStart = 0;
constexpr int64_t kLowStart = 999999999 * Fixed4::kUnitsPerWhole;

// Running extremes of the days in blocks of `length`, from each block's start and from its
// end; working space kept for the run, as the series is.
struct BlockExtremes {
    std::array<int64_t, kMaxDays + 2> highFromLeft, lowFromLeft, highFromRight, lowFromRight;
};

// Midpoint of the highest high and lowest low of days d-L+1..d, stored at day d. A window of
// L days spans at most two blocks of L, so its extremes are those of its part of each block:
// three passes instead of L steps a day (van Herk / Gil-Werman).
void midpointLine(PriceSeries& series, int count, int length, Fixed4 IchimokuRow::*column) {
    if (count < length) return;
    static BlockExtremes blocks;
    const auto& prices = series.priceTable;
    int64_t high = kHighStart, low = kLowStart;
    for (int d = 1, inBlock = 0; d <= count; ++d) {
        if (inBlock == length) {
            high = kHighStart;
            low = kLowStart;
            inBlock = 0;
        }
        ++inBlock;
        high = std::max(high, prices[d].high.units());
        low = std::min(low, prices[d].low.units());
        blocks.highFromLeft[d] = high;
        blocks.lowFromLeft[d] = low;
    }
    high = kHighStart;
    low = kLowStart;
    for (int d = count, inBlock = (count - 1) % length + 1; d >= 1; --d, --inBlock) {
        if (inBlock == 0) {
            high = kHighStart;
            low = kLowStart;
            inBlock = length;
        }
        high = std::max(high, prices[d].high.units());
        low = std::min(low, prices[d].low.units());
        blocks.highFromRight[d] = high;
        blocks.lowFromRight[d] = low;
    }
    for (int last = length; last <= count; ++last) {
        const int first = last - length + 1;
        const int64_t windowHigh = std::max(blocks.highFromRight[first], blocks.highFromLeft[last]);
        const int64_t windowLow = std::min(blocks.lowFromRight[first], blocks.lowFromLeft[last]);
        series.ichimokuTable[last].*column =
            midpoint(Fixed4::fromUnits(windowHigh), Fixed4::fromUnits(windowLow));
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

} // namespace nimbrel
