#include "chart/ChartMapping.h"

#include <cmath>

namespace nimbrel {

int DayMapping::dayAt(double x) const {
    const double slot = std::floor((x - left) / dayWidth + 0.5);
    if (!(std::fabs(slot) < 1e9)) return firstDay - 1; // no width yet, or far outside
    return static_cast<int>(slot) + firstDay - 1;
}

double PriceMapping::priceAt(double y) const {
    double value = top - (y - frameTop) / frameHeight * (top - bottom);
    return logarithmic ? std::exp(value) : value;
}

} // namespace nimbrel
