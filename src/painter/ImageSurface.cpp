#include "painter/ImageSurface.h"

namespace nimbrel {

namespace {

PixelTarget<QRgb> pixelsOf(QImage& image) {
    return {reinterpret_cast<QRgb*>(image.bits()),
            image.bytesPerLine() / static_cast<ptrdiff_t>(sizeof(QRgb)), image.width(),
            image.height()};
}

} // namespace

QImage chartImage(QSize logicalPixels, qreal devicePixelRatio) {
    QImage image(logicalPixels * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

ImageSurface::ImageSurface(QImage& image, QColor background)
    : painter_(&image), direct_(image.format() == QImage::Format_RGB32),
      raster_(pixelsOf(image), image.devicePixelRatio() / kTwipsPerPixel) {
    // The painter has made the image its own; the direct writes below use the same pixels.
    const qreal ratio = image.devicePixelRatio();
    const QSizeF logical = QSizeF(image.size()) / ratio;
    begin(painter_, logical.width() * kTwipsPerPixel, logical.height() * kTwipsPerPixel,
          kTwipsPerInch / kTwipsPerPixel, ratio, background);
    penChanged();
}

QRgb ImageSurface::pixel(Rgb color) const {
    const QRgb rgb = qRgb(color.red, color.green, color.blue);
    return inverting_ ? rgb & RGB_MASK : rgb;
}

void ImageSurface::penChanged() {
    PainterSurface::penChanged();
    raster_.setPen(pixel(pen().color), static_cast<int>(penPixels()), pen().style);
}

void ImageSurface::setDrawMode(DrawMode mode) {
    PainterSurface::setDrawMode(mode);
    inverting_ = mode == DrawMode::Invert;
    raster_.setOp(inverting_ ? PixelOp::Invert : PixelOp::Set);
    penChanged();
}

void ImageSurface::line(double x1, double y1, double x2, double y2) {
    if (direct_)
        raster_.line(x1, y1, x2, y2);
    else
        PainterSurface::line(x1, y1, x2, y2);
}

void ImageSurface::box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) {
    if (direct_)
        raster_.box(x1, y1, x2, y2, pixel(color), fill);
    else
        PainterSurface::box(x1, y1, x2, y2, color, fill);
}

} // namespace nimbrel
