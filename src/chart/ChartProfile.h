#pragma once

#include "render/Surface.h"

namespace nimbrel {

// What differs between the chart on the window and on paper; the pass itself is the same.
struct ChartProfile {
    bool inColour = true;        // paper: every line and text black, boxes black or white
    bool clearsSurface = true;   // a page is never cleared
    bool needsHeight = true;     // a window without height draws nothing
    int laggingForwardWidth = 1; // thicker on paper, where colour cannot tell the lines apart
    int priceLineWidth = 2;      // the line of one-price files
    double frameMargin = 0;      // added to the frame's left and top after its first layout
    double labelMargin = 0;      // added to the left edge after the label font is chosen

    // The colour actually used for a colour of the screen chart.
    Rgb ink(Rgb color) const {
        constexpr Rgb kWhite{255, 255, 255};
        return inColour || color == kWhite ? color : Rgb{0, 0, 0};
    }
};

inline constexpr ChartProfile kScreenProfile{};
inline constexpr ChartProfile kPageProfile{false, false, false, 2, 5, 350, 300};

} // namespace nimbrel
