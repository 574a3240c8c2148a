#pragma once

#include "painter/PainterSurface.h"

class QPagedPaintDevice;

namespace nimbrel {

// The printable area of a page (a printer's or a PDF's), at the page's resolution. Painting
// begins with the surface.
class PageSurface final : public PainterSurface {
public:
    PageSurface(QPagedPaintDevice& page, int resolution);
    // Ends the painting of the page: the printer can then send it.
    void end();
    bool isActive() const { return painter_.isActive(); }

private:
    QPainter painter_;
};

} // namespace nimbrel
