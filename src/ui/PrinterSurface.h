#pragma once

#include "render/PainterSurface.h"

class QPrinter;

namespace nimbrel {

// The printable area of the printer's open page, at the page's resolution. Ending the document
// sends the page.
class PrinterSurface final : public PainterSurface {
public:
    explicit PrinterSurface(QPrinter& printer);
    void endDocument() override;
    bool isActive() const { return painter_.isActive(); }

private:
    QPainter painter_;
};

} // namespace nimbrel
