#pragma once

#include "platform/PainterSurface.h"

#include <QImage>

// The window's chart image: 15 twips to a logical pixel, drawn at the image's device pixel
// ratio so that it stays sharp on high-density screens. Painting ends with the surface.
class ImageSurface final : public PainterSurface {
public:
    explicit ImageSurface(QImage& image, QColor background = Qt::white);
    void endDocument() override {}

private:
    QPainter painter_;
};

// An image of that many logical pixels, ready for an ImageSurface.
QImage chartImage(QSize logicalPixels, qreal devicePixelRatio = 1);
