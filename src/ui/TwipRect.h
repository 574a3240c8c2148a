#pragma once

#include "render/Surface.h"

#include <QRect>

namespace nimbrel {

// A control's place as the program's forms give it, in twips, on a 96 dpi screen.
inline QRect twipRect(int left, int top, int width, int height) {
    constexpr int perPixel = static_cast<int>(kTwipsPerPixel);
    return QRect(left / perPixel, top / perPixel, width / perPixel, height / perPixel);
}

} // namespace nimbrel
