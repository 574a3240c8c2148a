#pragma once

#include "data/PriceSeries.h"

#include <optional>

namespace nimbrel {

// The four price targets of a move from A to B and back to C. The same sums hold for a rise
// (A low, B high, C a low between them) and a fall (A high, B low, C a high between), since
// each adds a signed distance.
struct PriceTargets {
    Fixed4 nTarget;  // C + (B - A): the move A to B repeated from C
    Fixed4 vTarget;  // B + (B - C): the pullback B to C mirrored about B
    Fixed4 eTarget;  // B + (B - A): the move A to B repeated from B
    Fixed4 ntTarget; // C + (C - A): the move A to C repeated from C
};

[[nodiscard]] PriceTargets priceTargets(Fixed4 a, Fixed4 b, Fixed4 c);

enum class PriceSide { High, Low };

struct PickedPrice {
    PriceSide side;
    Fixed4 price;
};

// The bar's high or its low, whichever is nearer the price under the pointer; the high when
// both are as near.
[[nodiscard]] PickedPrice pickPrice(const PriceRow& bar, double pointerPrice);

enum class Swing { Rise, Fall };

struct SwingTargets {
    Swing swing;
    Fixed4 a, b, c; // the prices the targets were taken from
    PriceTargets targets;
};

// Targets from three bars named by dates (each the bar whose period holds the date). B's high
// above A's high is a rise, measured from A's low, B's high and C's low; anything else is a
// fall, from A's high, B's low and C's high. A date after the newest bar: nullopt.
[[nodiscard]] std::optional<SwingTargets> swingTargets(const PriceSeries& bars, Fixed4 dateA,
                                                       Fixed4 dateB, Fixed4 dateC);

} // namespace nimbrel
