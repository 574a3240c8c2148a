#pragma once

#include "data/PriceSeries.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace nimbrel {

// What the clicks on the chart pick for the analysis tools: a pivot for the basic numbers, the
// two bars of an equal count, or the three turning points of the price targets.
enum class Picking : int16_t { None, BasicNumbers, EqualCount, PriceTargets };

struct PickedPoint {
    int bar = 0;
    Fixed4 price; // the bar's high or low, whichever was nearer the pointer
};

class AnalysisPicker {
public:
    Picking picking() const { return picking_; }
    // The menu command: the next clicks pick for it, from the first again.
    void arm(Picking what);
    void cancel() { arm(Picking::None); }
    // A click on a bar at the pointer's price. When the last point the tool needs is picked,
    // the points, in the order picked; the picking then ends.
    std::optional<std::vector<PickedPoint>> clicked(const PriceSeries& bars, int bar,
                                                    double pointerPrice);
    int pointsPicked() const { return static_cast<int>(points_.size()); }

private:
    Picking picking_ = Picking::None;
    std::vector<PickedPoint> points_;
};

} // namespace nimbrel
