#pragma once

#include "render/Surface.h"

#include <QString>

namespace nimbrel {

// Where printed sheets go: the printer chosen in the page setup, or a PDF file. A document is
// one sheet: it is begun, drawn on (perhaps by several charts) and ended, and no new page is
// ever started.
class Printer {
public:
    virtual ~Printer() = default;

    // True when sheets are written to a PDF file rather than sent to a printer.
    virtual bool printsToFile() const = 0;
    // The PDF file the next document is written to.
    virtual QString fileName() const = 0;
    virtual void setFileName(const QString& path) = 0;

    // Opens a document and its page. Null, with the reason the platform gives, when the printer
    // or the file refuses.
    virtual Surface* beginDocument(QString& reason) = 0;
    // The sheet comes out (or the file is written). False, with the platform's reason, when it
    // did not; the document is closed either way and leaves no half-written file.
    [[nodiscard]] virtual bool endDocument(QString& reason) = 0;
};

} // namespace nimbrel
