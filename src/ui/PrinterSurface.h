#pragma once

#include "render/PainterSurface.h"

class QPrinter;

namespace nimbrel {

// The printable area of the printer's open page, at the page's resolution.
class PrinterSurface final : public PainterSurface {
public:
    explicit PrinterSurface(QPrinter& printer);
    // Ends the painting of the page: the printer can then send it.
    void end();
    bool isActive() const { return painter_.isActive(); }

private:
    QPainter painter_;
};

} // namespace nimbrel
