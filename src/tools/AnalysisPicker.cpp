#include "tools/AnalysisPicker.h"

#include "analysis/PriceTargets.h"

#include <algorithm>

namespace nimbrel {

namespace {

size_t pointsNeeded(Picking picking) {
    switch (picking) {
    case Picking::BasicNumbers:
        return 1;
    case Picking::EqualCount:
        return 2;
    case Picking::PriceTargets:
        return 3;
    case Picking::None:
        break;
    }
    return 0;
}

} // namespace

void AnalysisPicker::arm(Picking what) {
    picking_ = what;
    points_.clear();
}

std::optional<std::vector<PickedPoint>> AnalysisPicker::clicked(const PriceSeries& bars, int bar,
                                                                double pointerPrice) {
    if (picking_ == Picking::None) return std::nullopt;
    // A click right of the newest bar picks the newest: there is no price to take beyond it.
    const int picked = std::clamp(bar, 1, std::max(bars.dataCount, 1));
    points_.push_back(
        {picked, pickPrice(bars.priceTable[static_cast<size_t>(picked)], pointerPrice).price});
    if (points_.size() < pointsNeeded(picking_)) return std::nullopt;
    std::vector<PickedPoint> done = std::move(points_);
    arm(Picking::None);
    return done;
}

} // namespace nimbrel
