#pragma once

#include "data/Fixed4.h"

#include <array>
#include <cstdint>

// The plot rectangle left by the last drawing pass, in twips.
struct PlotFrame {
    float left = 0;
    float top = 0;
    float right = 0;
    float height = 0; // bottom - top
    double bottom() const { return double(top) + double(height); }
};

// The month (yyyymm) or year groups of the drawn days, in order; a group whose value is 0 ends
// the list. Row 0 only precedes row 1.
struct DateGroup {
    int32_t value = 0;
    int32_t count = 0;
};
inline constexpr int kMaxDateGroups = 749;
using DateGroups = std::array<DateGroup, kMaxDateGroups + 2>;

// Which days are drawn and how: the view the user set, and the geometry of the last pass.
struct ViewState {
    int16_t maxLength = 120; // days across the chart when the view is reset
    int16_t firstDay = 0;    // leftmost drawn day; below 1 means not set yet
    int32_t endOffset = 0;   // newest days left out at the right
    Fixed4 visibleHigh;      // highest high of the drawn days, or the user's range
    Fixed4 visibleLow;
    float userStep = 0; // price-axis step chosen by the user; 0 is automatic
    bool logY = false;
    float reduceX = 1;
    float reduceY = 1;
    Fixed4 keta = Fixed4::fromUnits(100); // price unit of the last shown decimal: 0.01
    bool splitUpper = false;
    bool splitLower = false;
    bool spanForward = true; // lagging line drawn 25 slots right
    bool spanBack = false;   // lagging line drawn 25 slots left

    PlotFrame plotFrame;
    float dayWidth = 0;
    DateGroups dateGroups{};
};

inline int lastDayOf(int32_t dataCount, const ViewState& view) {
    return dataCount - view.endOffset;
}
