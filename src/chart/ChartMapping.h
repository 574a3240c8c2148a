#pragma once

#include "chart/ViewState.h"

#include <cmath>
#include <optional>

namespace nimbrel {

// Day index to x and back, from the plot frame and the slot width of a pass.
struct DayMapping {
    double left = 0;     // plotFrame.left
    double dayWidth = 0; // width of one day slot; 0 until a chart is laid out
    int firstDay = 1;

    // Day i is centred one slot right of the left edge for the first drawn day.
    double x(int day) const { return left + (day - firstDay + 1) * dayWidth; }
    int dayAt(double x) const;
};

// Price to y and back. Linear: the axis top and bottom; logarithmic: their natural logarithms.
struct PriceMapping {
    PriceMapping() = default;
    PriceMapping(bool logarithmic, double top, double bottom, double frameTop, double frameHeight)
        : logarithmic(logarithmic), top(top), bottom(bottom), frameTop(frameTop),
          frameHeight(frameHeight), twipsPerUnit(frameHeight / (top - bottom)) {}

    bool logarithmic = false;
    double top = 0;
    double bottom = 0;
    double frameTop = 0;
    double frameHeight = 0;
    double twipsPerUnit = 0; // the frame height over the axis span, worked out once

    // Not defined for a price of 0 or below on a logarithmic axis.
    std::optional<double> y(double price) const {
        double value = price;
        if (logarithmic) {
            if (price <= 0) return std::nullopt;
            value = std::log(price);
        }
        return (top - value) * twipsPerUnit + frameTop;
    }
    double priceAt(double y) const;
    // y kept within 20 twips of the frame, so that overshoots stay short and the white bands
    // above and below the plot can cover them.
    std::optional<double> clampedY(double price) const {
        const std::optional<double> mapped = y(price);
        if (!mapped) return std::nullopt;
        return clamped(*mapped);
    }
    double clamped(double y) const {
        if (y < frameTop) return frameTop - 20;
        if (y > frameTop + frameHeight) return frameTop + frameHeight + 20;
        return y;
    }
};

} // namespace nimbrel
