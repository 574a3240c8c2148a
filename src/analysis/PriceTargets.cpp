#include "analysis/PriceTargets.h"

#include "analysis/Bars.h"

#include <cmath>

namespace nimbrel {

PriceTargets priceTargets(Fixed4 a, Fixed4 b, Fixed4 c) {
    return {
        .nTarget = c + (b - a),
        .vTarget = b + (b - c),
        .eTarget = b + (b - a),
        .ntTarget = c + (c - a),
    };
}

PickedPrice pickPrice(const PriceRow& bar, double pointerPrice) {
    const double toHigh = std::abs(bar.high.toDouble() - pointerPrice);
    const double toLow = std::abs(bar.low.toDouble() - pointerPrice);
    if (toHigh <= toLow) return {PriceSide::High, bar.high};
    return {PriceSide::Low, bar.low};
}

std::optional<SwingTargets> swingTargets(const PriceSeries& bars, Fixed4 dateA, Fixed4 dateB,
                                         Fixed4 dateC) {
    const int barA = barOfDate(bars, dateA), barB = barOfDate(bars, dateB),
              barC = barOfDate(bars, dateC);
    if (barA == 0 || barB == 0 || barC == 0) return std::nullopt;
    const PriceRow &a = bars.priceTable[barA], &b = bars.priceTable[barB],
                   &c = bars.priceTable[barC];
    SwingTargets taken{};
    if (b.high > a.high) {
        taken = {Swing::Rise, a.low, b.high, c.low, {}};
    } else {
        taken = {Swing::Fall, a.high, b.low, c.high, {}};
    }
    taken.targets = priceTargets(taken.a, taken.b, taken.c);
    return taken;
}

} // namespace nimbrel
