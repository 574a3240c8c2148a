#include "platform/ImageSurface.h"

namespace {
constexpr double kTwipsPerPixel = 15;
} // namespace

QImage chartImage(QSize logicalPixels, qreal devicePixelRatio) {
    QImage image(logicalPixels * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    return image;
}

ImageSurface::ImageSurface(QImage& image, QColor background) : painter_(&image) {
    const qreal ratio = image.devicePixelRatio();
    const QSizeF logical = QSizeF(image.size()) / ratio;
    begin(painter_, logical.width() * kTwipsPerPixel, logical.height() * kTwipsPerPixel,
          kTwipsPerInch / kTwipsPerPixel, ratio, background);
}
