#include "painter/PageSurface.h"

#include <QPagedPaintDevice>

namespace nimbrel {

PageSurface::PageSurface(QPagedPaintDevice& page, int resolution)
    : painter_(&page), ink_(painter_) {
    const QRectF area = page.pageLayout().paintRectPixels(resolution);
    const double twipsPerDot = kTwipsPerInch / resolution;
    begin(painter_, area.width() * twipsPerDot, area.height() * twipsPerDot, resolution,
          resolution / 96.0, Qt::white);
}

void PageSurface::end() {
    if (!painter_.isActive()) return;
    ink_.paint();
    painter_.end();
}

void PageSurface::paintInk() {
    ink_.paint();
    painterPenTaken();
}

void PageSurface::clear() {
    paintInk();
    PainterSurface::clear();
}

void PageSurface::setDrawMode(DrawMode mode) {
    paintInk();
    mode_ = mode;
    PainterSurface::setDrawMode(mode);
}

void PageSurface::line(double x1, double y1, double x2, double y2) {
    if (mode_ != DrawMode::Copy) {
        PainterSurface::line(x1, y1, x2, y2);
        return;
    }
    ink_.line(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)), pen().color,
              int(penPixels()), pen().style);
}

void PageSurface::box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) {
    if (mode_ != DrawMode::Copy) {
        PainterSurface::box(x1, y1, x2, y2, color, fill);
        return;
    }
    const QRectF rect(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)));
    if (fill == BoxFill::Filled)
        ink_.fill(rect, color);
    else
        ink_.frame(rect, color, int(penPixels()), pen().style);
}

void PageSurface::printText(double x, double y, const QString& text) {
    // A text in the colour of the ink gathered may go before it: the date labels and their
    // lines. The ink may have taken the painter's pen meanwhile.
    ink_.paintUnlessAll(pen().color);
    painterPenTaken();
    PainterSurface::printText(x, y, text);
}

} // namespace nimbrel
