#pragma once

#include "render/PixelRaster.h"
#include "render/Surface.h"

namespace nimbrel {

// A surface's lines and boxes drawn straight into its pixels, in twips scaled to the pixels.
// The pen is kept as the pixels take it, worked out once a change: a pass draws many thousand
// segments with few pens.
template <typename Pixel> class RasterDrawing {
public:
    RasterDrawing(PixelTarget<Pixel> pixels, double pixelsPerTwip)
        : pixels_(pixels), pixelsPerTwip_(pixelsPerTwip) {}

    void setPen(Pixel color, int widthPixels, PenStyle style);
    void setOp(PixelOp op) { op_ = op; }
    void line(double x1, double y1, double x2, double y2) const;
    // A box in its own colour, its outline with the pen's width and pattern.
    void box(double x1, double y1, double x2, double y2, Pixel color, BoxFill fill) const;

private:
    double toPixels(double twips) const { return twips * pixelsPerTwip_; }

    PixelTarget<Pixel> pixels_;
    double pixelsPerTwip_;
    Pixel color_{};
    int width_ = 1;
    DashPattern pattern_ = DashPattern::Solid;
    PixelOp op_ = PixelOp::Set;
};

} // namespace nimbrel
