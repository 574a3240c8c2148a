#include "chart/ChartMapping.h"

#include <cmath>

int DayMapping::dayAt(double x) const {
    const double slot = std::floor((x - left) / dayWidth + 0.5);
    if (!(std::fabs(slot) < 1e9)) return firstDay - 1; // no width yet, or far outside
    return static_cast<int>(slot) + firstDay - 1;
}

std::optional<double> PriceMapping::y(double price) const {
    double value = price;
    if (logarithmic) {
        if (price <= 0) return std::nullopt;
        value = std::log(price);
    }
    return (top - value) / (top - bottom) * frameHeight + frameTop;
}

double PriceMapping::priceAt(double y) const {
    double value = top - (y - frameTop) / frameHeight * (top - bottom);
    return logarithmic ? std::exp(value) : value;
}

std::optional<double> PriceMapping::clampedY(double price) const {
    std::optional<double> mapped = y(price);
    if (!mapped) return std::nullopt;
    if (*mapped < frameTop) return frameTop - 20;
    if (*mapped > frameTop + frameHeight) return frameTop + frameHeight + 20;
    return mapped;
}
