#pragma once

#include <QRect>

// A control's place as the program's forms give it, in twips, on a 96 dpi screen: 15 to a pixel.
inline QRect twipRect(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}
