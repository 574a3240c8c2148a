#pragma once

#include "platform/PainterSurface.h"
#include "platform/PixelRaster.h"

#include <QImage>

// The window's chart image: 15 twips to a logical pixel, drawn at the image's device pixel
// ratio so that it stays sharp on high-density screens. Lines and boxes go straight into the
// pixels, also when inverting; text goes through the painter. Painting ends with the surface.
class ImageSurface final : public PainterSurface {
public:
    explicit ImageSurface(QImage& image, QColor background = Qt::white);
    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) override;
    void endDocument() override {}

private:
    double toPixels(double twips) const { return twips * pixelsPerTwip_; }
    DashPattern pattern() const;
    PixelOp op() const { return inverting() ? PixelOp::Invert : PixelOp::Set; }

    QPainter painter_;
    QImage& image_;
    PixelTarget pixels_;
    double pixelsPerTwip_;
};

// An image of that many logical pixels, ready for an ImageSurface.
QImage chartImage(QSize logicalPixels, qreal devicePixelRatio = 1);
