#pragma once

#include "system/Twips.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace nimbrel {

struct Rgb {
    uint8_t red = 0, green = 0, blue = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

enum class PenStyle { Solid = 0, Dashed = 1, Dotted = 2 };
enum class DrawMode { Copy, Invert };
enum class BoxFill { Outline, Filled };

// Fonts come in whole pixels of the device (of that many pixels an inch), one at least: the
// size in effect is the one those pixels make.
inline int fontPixels(double points, double pixelsPerInch) {
    const double clamped = std::clamp(points, 0.0, 1000.0); // beyond any page
    return std::max(1, static_cast<int>(std::lround(clamped * pixelsPerInch / 72)));
}

// What lines and box outlines are drawn with.
struct Pen {
    Rgb color;
    int width = 1; // pixels of a 96 dpi screen
    PenStyle style = PenStyle::Solid;
};

// What the chart needs of a drawing surface (the window's image, a printer page or the command
// line's picture).
// Coordinates are twips (1/1440 inch) from the top left corner, y downwards; font sizes are
// points; pen widths are device pixels. Pen colour, width and style stay until set again.
class Surface {
public:
    virtual ~Surface() = default;

    // Fills the surface with its background colour (the window's; never used on paper).
    virtual void clear() = 0;
    virtual double width() const = 0;
    virtual double height() const = 0;
    // The height in points: the H from which the chart's font sizes are derived.
    virtual double heightInPoints() const = 0;

    // The pass sets a pen for nearly every one of its segments, mostly to what it already is:
    // only a change reaches the surface's own form of the pen.
    void setPenColor(Rgb color) {
        if (pen_.color == color) return;
        pen_.color = color;
        penChanged();
    }
    void setPenWidth(int pixels) {
        if (pen_.width == pixels) return;
        pen_.width = pixels;
        penChanged();
    }
    void setPenStyle(PenStyle style) {
        if (pen_.style == style) return;
        pen_.style = style;
        penChanged();
    }
    const Pen& pen() const { return pen_; }

    virtual void line(double x1, double y1, double x2, double y2) = 0;
    // A box between two corners in its own colour; the pen colour is left as it is.
    virtual void box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) = 0;

    virtual void setFont(const QString& name, double points) = 0;
    // The size in effect after the surface's rounding.
    virtual double fontSize() const = 0;
    virtual double textWidth(const QString& text) const = 0;
    virtual double textHeight(const QString& text) const = 0;
    // Prints with the text's top left corner at (x, y), in the pen colour, background untouched.
    virtual void printText(double x, double y, const QString& text) = 0;

protected:
    // The pen is another from now on.
    virtual void penChanged() {}

private:
    Pen pen_;
};

// A surface the window's tools draw on over the chart: the crosshair and the zoom's band are
// drawn inverted, so that drawing them again erases them.
class OverlaySurface : public Surface {
public:
    virtual void setDrawMode(DrawMode mode) = 0;
};

} // namespace nimbrel
