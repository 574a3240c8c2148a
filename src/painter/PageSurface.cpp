#include "painter/PageSurface.h"

#include <QPagedPaintDevice>

namespace nimbrel {

PageSurface::PageSurface(QPagedPaintDevice& page, int resolution) : painter_(&page) {
    const QRectF area = page.pageLayout().paintRectPixels(resolution);
    const double twipsPerDot = kTwipsPerInch / resolution;
    begin(painter_, area.width() * twipsPerDot, area.height() * twipsPerDot, resolution,
          resolution / 96.0, Qt::white);
}

void PageSurface::end() {
    if (painter_.isActive()) painter_.end();
}

} // namespace nimbrel
