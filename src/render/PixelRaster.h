#pragma once

#include <cstddef>
#include <cstdint>

namespace nimbrel {

// Aliased drawing straight into pixels: the window's 32-bit chart image, and the command
// line's picture of 8-bit palette indices. A pass draws some 150 000 short segments, each with
// a pen of its own, where a painter would spend most of its time changing pens.

enum class DashPattern { Solid, Dashed, Dotted };

// Set writes the value; Invert XORs it into the pixel, so that drawing twice restores it.
enum class PixelOp { Set, Invert };

// The pixels of an image, taken once per surface: asking the image for them on every line
// would check on every line whether it must detach.
template <typename Pixel> struct PixelTarget {
    Pixel* bits = nullptr;
    ptrdiff_t stride = 0; // pixels from one row to the next
    int width = 0;
    int height = 0;
};

// A line between two points in device pixels, both ends included, `width` pixels thick. Dashes
// and dots are counted in pen widths from the line's start, as a painter's cosmetic pen does.
template <typename Pixel>
void rasterLine(const PixelTarget<Pixel>& image, double x1, double y1, double x2, double y2,
                Pixel color, int width, DashPattern pattern, PixelOp op = PixelOp::Set);

// Every pixel whose square the rectangle between two corners touches, edges included.
template <typename Pixel>
void rasterFill(const PixelTarget<Pixel>& image, double x1, double y1, double x2, double y2,
                Pixel color, PixelOp op = PixelOp::Set);

// The outline of the rectangle between two corners as one path round it, each pixel once, the
// pattern running on from side to side: inverted twice, it leaves no trace, corners included.
template <typename Pixel>
void rasterFrame(const PixelTarget<Pixel>& image, double x1, double y1, double x2, double y2,
                 Pixel color, int width, DashPattern pattern, PixelOp op);

} // namespace nimbrel
