#include "ui/PrinterSurface.h"

#include <QPrinter>

namespace nimbrel {

PrinterSurface::PrinterSurface(QPrinter& printer) : painter_(&printer) {
    const double resolution = printer.resolution();
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double twipsPerDot = kTwipsPerInch / resolution;
    begin(painter_, page.width() * twipsPerDot, page.height() * twipsPerDot, resolution,
          resolution / 96, Qt::white);
}

void PrinterSurface::end() {
    if (painter_.isActive()) painter_.end();
}

} // namespace nimbrel
