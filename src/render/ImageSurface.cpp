#include "render/ImageSurface.h"

#include <cmath>

namespace nimbrel {

QImage chartImage(QSize logicalPixels, qreal devicePixelRatio) {
    QImage image(logicalPixels * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

ImageSurface::ImageSurface(QImage& image, QColor background)
    : painter_(&image), direct_(image.format() == QImage::Format_RGB32),
      pixels_(PixelTarget::of(image)), pixelsPerTwip_(image.devicePixelRatio() / kTwipsPerPixel) {
    // The painter has made the image its own; the direct writes below use the same pixels.
    const qreal ratio = image.devicePixelRatio();
    const QSizeF logical = QSizeF(image.size()) / ratio;
    begin(painter_, logical.width() * kTwipsPerPixel, logical.height() * kTwipsPerPixel,
          kTwipsPerInch / kTwipsPerPixel, ratio, background);
    penChanged();
}

void ImageSurface::penChanged() {
    PainterSurface::penChanged();
    const Pen& pen = this->pen();
    pen_.color = qRgb(pen.color.red, pen.color.green, pen.color.blue);
    pen_.width = static_cast<int>(penPixels());
    pen_.pattern = pen.style == PenStyle::Dashed   ? DashPattern::Dashed
                   : pen.style == PenStyle::Dotted ? DashPattern::Dotted
                                                   : DashPattern::Solid;
}

void ImageSurface::setDrawMode(DrawMode mode) {
    PainterSurface::setDrawMode(mode);
    pen_.op = mode == DrawMode::Invert ? PixelOp::Invert : PixelOp::Set;
}

void ImageSurface::line(double x1, double y1, double x2, double y2) {
    if (!direct_) {
        PainterSurface::line(x1, y1, x2, y2);
        return;
    }
    rasterLine(pixels_, toPixels(x1), toPixels(y1), toPixels(x2), toPixels(y2), pen_.color,
               pen_.width, pen_.pattern, pen_.op);
}

void ImageSurface::box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) {
    if (!direct_) {
        PainterSurface::box(x1, y1, x2, y2, color, fill);
        return;
    }
    const QRgb rgb = qRgb(color.red, color.green, color.blue);
    const double left = toPixels(x1), top = toPixels(y1), right = toPixels(x2),
                 bottom = toPixels(y2);
    if (fill == BoxFill::Filled) {
        rasterFill(pixels_, left, top, right, bottom, rgb, pen_.op);
        return;
    }
    if (pen_.pattern != DashPattern::Solid || pen_.op == PixelOp::Invert) {
        rasterFrame(pixels_, left, top, right, bottom, rgb, pen_.width, pen_.pattern, pen_.op);
        return;
    }
    // A box one pixel wide, as a candle's body is at many days a column, is one run: its four
    // sides cover the same pixels.
    if (pen_.width == 1 && std::floor(left) == std::floor(right)) {
        rasterLine(pixels_, right, top, right, bottom, rgb, 1, DashPattern::Solid);
        return;
    }
    rasterLine(pixels_, left, top, right, top, rgb, pen_.width, DashPattern::Solid);
    rasterLine(pixels_, right, top, right, bottom, rgb, pen_.width, DashPattern::Solid);
    rasterLine(pixels_, right, bottom, left, bottom, rgb, pen_.width, DashPattern::Solid);
    rasterLine(pixels_, left, bottom, left, top, rgb, pen_.width, DashPattern::Solid);
}

} // namespace nimbrel
