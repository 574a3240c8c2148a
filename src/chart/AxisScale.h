#pragma once

#include "chart/ViewState.h"

namespace nimbrel {

// The price axis of one drawing pass: tick step and the visible range moved out to whole steps.
struct AxisScale {
    double step = 1;
    double top = 0; // visibleHigh rounded up to a multiple of step
    Fixed4 bottom;  // visibleLow rounded down to a multiple of step
    double span() const { return top - bottom.toDouble(); }
    // Grid intervals: at least 1.
    double intervals() const { return span() / step; }
};

// A quotient of a value by a step, with a result a rounding error away from a whole number
// taken as that number: a low of 8.1 on a 0.05 step is 162 steps, not 161.99999999999997.
double wholeStepsIn(double value, double step);

// The automatic step for a high and low: a power of ten from the high, halved, fifthed and
// tenthed until the range holds at least 20 steps.
double automaticStep(Fixed4 visibleHigh, Fixed4 visibleLow);

// The axis of the view's range. A flat range spans one step below to one step above the price,
// so that the axis never has zero height.
AxisScale axisScale(Fixed4 visibleHigh, Fixed4 visibleLow, float userStep);

} // namespace nimbrel
