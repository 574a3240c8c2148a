#pragma once

#include "painter/PainterSurface.h"
#include "render/RasterDrawing.h"

#include <QImage>

namespace nimbrel {

// The window's chart image: 15 twips to a logical pixel, drawn at the image's device pixel
// ratio so that it stays sharp on high-density screens. Lines and boxes go straight into the
// pixels, also when inverting; text goes through the painter. Painting ends with the surface.
class ImageSurface final : public PainterSurface {
public:
    explicit ImageSurface(QImage& image, QColor background = Qt::white);
    void setDrawMode(DrawMode mode) override;
    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) override;

protected:
    void penChanged() override;

private:
    // A colour as the pixels take it: inverting keeps a pixel's alpha.
    QRgb pixel(Rgb color) const;

    QPainter painter_;
    // Only a 32-bit image takes direct writes; any other goes through the painter.
    const bool direct_;
    bool inverting_ = false;
    RasterDrawing<QRgb> raster_;
};

// An image of that many logical pixels for an ImageSurface. Its pixels are left as the memory
// held them: every pass clears the image first, and filling it twice would show in a resize.
QImage chartImage(QSize logicalPixels, qreal devicePixelRatio = 1);

} // namespace nimbrel
