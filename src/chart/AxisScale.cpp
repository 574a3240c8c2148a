#include "chart/AxisScale.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace nimbrel {

namespace {

// A step the user typed is held in single precision; read it back at the digits it was typed
// with (0.05, not 0.0500000007).
double typedStep(float step) {
    char text[32];
    auto end = std::to_chars(text, text + sizeof text, step).ptr;
    double value = 0;
    std::from_chars(text, end, value);
    return value;
}

double baseStep(double high) {
    if (high >= 10'000'000) return 1'000'000;
    if (high >= 1'000'000) return 100'000;
    if (high >= 100'000) return 10'000;
    if (high >= 10'000) return 1'000;
    if (high >= 1'000) return 100;
    if (high >= 100) return 10;
    return 1; // also for a high below 0, which would otherwise have no step at all
}

} // namespace

double wholeStepsIn(double value, double step) {
    const double steps = value / step;
    const double nearest = std::round(steps);
    return std::fabs(steps - nearest) <= 1e-9 * std::max(1.0, std::fabs(nearest)) ? nearest : steps;
}

double automaticStep(Fixed4 visibleHigh, Fixed4 visibleLow) {
    double base = baseStep(visibleHigh.toDouble());
    double range = (visibleHigh - visibleLow).toDouble();
    // A flat range is refined as though it were one base step wide.
    if (range <= 0) range = base;
    double candidate = base;
    int k = 1;
    while (range / candidate < 20) {
        if (k == 1) candidate = base / 10 * 5;
        if (k == 2) candidate = base / 10 * 2;
        if (k == 3) candidate = base / 10 * 1;
        if (k == 4) {
            base = candidate;
            k = 0;
        }
        ++k;
    }
    return candidate;
}

AxisScale axisScale(Fixed4 visibleHigh, Fixed4 visibleLow, float userStep) {
    AxisScale axis;
    axis.step = userStep > 0 ? typedStep(userStep) : automaticStep(visibleHigh, visibleLow);
    double high = visibleHigh.toDouble();
    double low = visibleLow.toDouble();
    if (visibleHigh == visibleLow) {
        high += axis.step;
        low -= axis.step;
    }
    axis.top = std::ceil(wholeStepsIn(high, axis.step)) * axis.step;
    axis.bottom =
        Fixed4::fromDouble(std::floor(wholeStepsIn(low, axis.step)) * axis.step).value_or(Fixed4());
    return axis;
}

} // namespace nimbrel
