#pragma once

#include "painter/PageInk.h"
#include "painter/PainterSurface.h"

class QPagedPaintDevice;

namespace nimbrel {

// The printable area of a page (a printer's or a PDF's), at the page's resolution. Painting
// begins with the surface. Lines and boxes go on the page as PageInk gathers them.
class PageSurface final : public PainterSurface {
public:
    PageSurface(QPagedPaintDevice& page, int resolution);
    // Ends the painting of the page: the printer can then send it.
    void end();
    bool isActive() const { return painter_.isActive(); }

    void clear() override;
    void setDrawMode(DrawMode mode) override;
    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) override;
    void printText(double x, double y, const QString& text) override;

private:
    // The gathered ink goes onto the page before the painter paints anything itself.
    void paintInk();

    QPainter painter_;
    PageInk ink_;
    // Inverting is a matter of order: it goes to the painter at once.
    DrawMode mode_ = DrawMode::Copy;
};

} // namespace nimbrel
