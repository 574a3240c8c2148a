#pragma once

#include <QImage>
#include <QRgb>

namespace nimbrel {

// Aliased drawing straight into the pixels of a 32-bit image, for the window's chart: a pass
// draws some 150 000 short segments, each with a pen of its own, where a painter would spend
// most of its time changing pens.

enum class DashPattern { Solid, Dashed, Dotted };

// Set writes the colour; Invert XORs it into the pixel, so that drawing twice restores it.
enum class PixelOp { Set, Invert };

// The pixels of a 32-bit image, taken once per surface: asking the image for them on every
// line would check on every line whether it must detach.
struct PixelTarget {
    QRgb* bits = nullptr;
    qsizetype stride = 0; // pixels from one row to the next
    int width = 0;
    int height = 0;
    static PixelTarget of(QImage& image);
};

// A line between two points in device pixels, both ends included, `width` pixels thick. Dashes
// and dots are counted in pen widths from the line's start, as a painter's cosmetic pen does.
void rasterLine(const PixelTarget& image, double x1, double y1, double x2, double y2, QRgb color,
                int width, DashPattern pattern, PixelOp op = PixelOp::Set);

// Every pixel whose square the rectangle between two corners touches, edges included.
void rasterFill(const PixelTarget& image, double x1, double y1, double x2, double y2, QRgb color,
                PixelOp op = PixelOp::Set);

// The outline of the rectangle between two corners as one path round it, each pixel once, the
// pattern running on from side to side: inverted twice, it leaves no trace, corners included.
void rasterFrame(const PixelTarget& image, double x1, double y1, double x2, double y2, QRgb color,
                 int width, DashPattern pattern, PixelOp op);

} // namespace nimbrel
