#include "platform/ImageSurface.h"

#include "platform/PixelRaster.h"

QImage chartImage(QSize logicalPixels, qreal devicePixelRatio) {
    QImage image(logicalPixels * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    return image;
}

ImageSurface::ImageSurface(QImage& image, QColor background)
    : painter_(&image), image_(image), pixels_(PixelTarget::of(image)),
      pixelsPerTwip_(image.devicePixelRatio() / kTwipsPerPixel) {
    // The painter has made the image its own; the direct writes below use the same pixels.
    const qreal ratio = image.devicePixelRatio();
    const QSizeF logical = QSizeF(image.size()) / ratio;
    begin(painter_, logical.width() * kTwipsPerPixel, logical.height() * kTwipsPerPixel,
          kTwipsPerInch / kTwipsPerPixel, ratio, background);
}

DashPattern ImageSurface::pattern() const {
    if (penStyle() == Qt::DashLine) return DashPattern::Dashed;
    if (penStyle() == Qt::DotLine) return DashPattern::Dotted;
    return DashPattern::Solid;
}

void ImageSurface::line(double x1, double y1, double x2, double y2) {
    if (image_.format() != QImage::Format_RGB32) {
        PainterSurface::line(x1, y1, x2, y2);
        return;
    }
    rasterLine(pixels_, toPixels(x1), toPixels(y1), toPixels(x2), toPixels(y2), penColor().rgb(),
               static_cast<int>(penPixels()), pattern(), op());
}

void ImageSurface::box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) {
    if (image_.format() != QImage::Format_RGB32) {
        PainterSurface::box(x1, y1, x2, y2, color, fill);
        return;
    }
    const QRgb rgb = qRgb(color.red, color.green, color.blue);
    const double left = toPixels(x1), top = toPixels(y1), right = toPixels(x2),
                 bottom = toPixels(y2);
    if (fill == BoxFill::Filled) {
        rasterFill(pixels_, left, top, right, bottom, rgb, op());
        return;
    }
    const int width = static_cast<int>(penPixels());
    if (pattern() != DashPattern::Solid || op() == PixelOp::Invert) {
        rasterFrame(pixels_, left, top, right, bottom, rgb, width, pattern(), op());
        return;
    }
    rasterLine(pixels_, left, top, right, top, rgb, width, DashPattern::Solid);
    rasterLine(pixels_, right, top, right, bottom, rgb, width, DashPattern::Solid);
    rasterLine(pixels_, right, bottom, left, bottom, rgb, width, DashPattern::Solid);
    rasterLine(pixels_, left, bottom, left, top, rgb, width, DashPattern::Solid);
}
