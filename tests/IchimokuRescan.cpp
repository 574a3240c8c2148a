#include "IchimokuRescan.h"

#include "Printers.h"

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

Fixed4 rescanMidpoint(const PriceSeries& s, int last, int length) {
    Fixed4 high = Fixed4::fromWhole(0), low = Fixed4::fromWhole(999999999);
    for (int d = last - length + 1; d <= last; ++d) {
        if (s.priceTable[d].high > high) high = s.priceTable[d].high;
        if (s.priceTable[d].low < low) low = s.priceTable[d].low;
    }
    return midpoint(high, low);
}

} // namespace

void expectEqualsRescan(const PriceSeries& s) {
    const Fixed4 zero;
    for (int d = 0; d <= kMaxDays; ++d) {
        const IchimokuRow& row = s.ichimokuTable[d];
        const bool inData = d >= 1 && d <= s.dataCount;
        ASSERT_EQ(row.conversion, inData && d >= 9 ? rescanMidpoint(s, d, 9) : zero) << d;
        ASSERT_EQ(row.base, inData && d >= 26 ? rescanMidpoint(s, d, 26) : zero) << d;
        ASSERT_EQ(row.span1, inData && d >= 27 ? midpoint(row.conversion, row.base) : zero) << d;
        ASSERT_EQ(row.span2, inData && d >= 52 ? rescanMidpoint(s, d, 52) : zero) << d;
    }
}

} // namespace nimbrel
