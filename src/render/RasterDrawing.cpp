#include "render/RasterDrawing.h"

#include <cmath>

namespace nimbrel {

template <typename Pixel>
void RasterDrawing<Pixel>::setPen(Pixel color, int widthPixels, PenStyle style) {
    color_ = color;
    width_ = widthPixels;
    pattern_ = style == PenStyle::Dashed   ? DashPattern::Dashed
               : style == PenStyle::Dotted ? DashPattern::Dotted
                                           : DashPattern::Solid;
}

template <typename Pixel>
void RasterDrawing<Pixel>::line(double x1, double y1, double x2, double y2) const {
    rasterLine(pixels_, toPixels(x1), toPixels(y1), toPixels(x2), toPixels(y2), color_, width_,
               pattern_, op_);
}

template <typename Pixel>
void RasterDrawing<Pixel>::box(double x1, double y1, double x2, double y2, Pixel color,
                               BoxFill fill) const {
    const double left = toPixels(x1), top = toPixels(y1), right = toPixels(x2),
                 bottom = toPixels(y2);
    if (fill == BoxFill::Filled) {
        rasterFill(pixels_, left, top, right, bottom, color, op_);
        return;
    }
    if (pattern_ != DashPattern::Solid || op_ == PixelOp::Invert) {
        rasterFrame(pixels_, left, top, right, bottom, color, width_, pattern_, op_);
        return;
    }
    // A box one pixel wide, as a candle's body is at many days a column, is one run: its four
    // sides cover the same pixels.
    if (width_ == 1 && std::floor(left) == std::floor(right)) {
        rasterLine(pixels_, right, top, right, bottom, color, 1, DashPattern::Solid);
        return;
    }
    rasterLine(pixels_, left, top, right, top, color, width_, DashPattern::Solid);
    rasterLine(pixels_, right, top, right, bottom, color, width_, DashPattern::Solid);
    rasterLine(pixels_, right, bottom, left, bottom, color, width_, DashPattern::Solid);
    rasterLine(pixels_, left, bottom, left, top, color, width_, DashPattern::Solid);
}

// The window's 32-bit colours and the picture's 8-bit palette indices.
template class RasterDrawing<uint32_t>;
template class RasterDrawing<uint8_t>;

} // namespace nimbrel
