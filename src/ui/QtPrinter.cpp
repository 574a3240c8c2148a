#include "ui/QtPrinter.h"

#include "painter/PageSurface.h"
#include "print/PdfPrinter.h"
#include "print/PrintDialogs.h"

#include <QPrinter>

namespace nimbrel {

namespace {

std::unique_ptr<QPrinter> newPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(QStringLiteral("Nimbrel"));
    printer->setCreator(QStringLiteral("Nimbrel"));
    return printer;
}

// A printer busy with an open sheet cannot take a new choice; the next one starts from the same
// settings.
std::unique_ptr<QPrinter> copyOf(const QPrinter& from) {
    auto to = newPrinter();
    if (from.outputFormat() == QPrinter::NativeFormat) to->setPrinterName(from.printerName());
    to->setOutputFormat(from.outputFormat());
    to->setOutputFileName(from.outputFileName());
    to->setPageLayout(from.pageLayout());
    to->setColorMode(from.colorMode());
    to->setDuplex(from.duplex());
    to->setCopyCount(from.copyCount());
    to->setCollateCopies(from.collateCopies());
    return to;
}

} // namespace

QtPrinter::QtPrinter() : printer_(newPrinter()) {}

QtPrinter::~QtPrinter() {
    // The program ends its open sheet itself; what is left here was never finished.
    closeDocument();
}

bool QtPrinter::documentOpen() const {
    return page_ || pdf_;
}

bool QtPrinter::setUp(PrintDialogs& dialogs, QWidget* parent) {
    if (!documentOpen()) return dialogs.setUpPrinter(parent, *printer_);
    std::unique_ptr<QPrinter> next = copyOf(nextPrinter_ ? *nextPrinter_ : *printer_);
    if (!dialogs.setUpPrinter(parent, *next)) return false;
    nextPrinter_ = std::move(next);
    return true;
}

bool QtPrinter::printsToFile() const {
    const QPrinter& next = nextPrinter_ ? *nextPrinter_ : *printer_;
    return next.outputFormat() == QPrinter::PdfFormat;
}

QString QtPrinter::fileName() const {
    return (nextPrinter_ ? *nextPrinter_ : *printer_).outputFileName();
}

void QtPrinter::setFileName(const QString& path) {
    (nextPrinter_ ? *nextPrinter_ : *printer_).setOutputFileName(path);
}

Surface* QtPrinter::beginDocument(QString& reason) {
    if (page_) return page_.get();
    if (pdf_) return pdf_->beginDocument(reason);
    if (nextPrinter_) printer_ = std::move(nextPrinter_);
    if (printer_->outputFormat() == QPrinter::PdfFormat) {
        // A PDF is drawn in memory and written whole, as every file the program writes.
        pdf_ = std::make_unique<PdfPrinter>(printer_->pageLayout(), printer_->resolution());
        pdf_->setFileName(printer_->outputFileName());
        Surface* page = pdf_->beginDocument(reason);
        if (!page) pdf_.reset();
        return page;
    }
    page_ = std::make_unique<PageSurface>(*printer_, printer_->resolution());
    if (!page_->isActive()) {
        reason = QStringLiteral("プリンタ %1 を使えません").arg(printer_->printerName());
        closeDocument();
        return nullptr;
    }
    return page_.get();
}

bool QtPrinter::endDocument(QString& reason) {
    if (pdf_) {
        const bool written = pdf_->endDocument(reason);
        pdf_.reset();
        return written;
    }
    if (!page_) return true;
    page_->end();
    page_.reset();
    if (printer_->printerState() != QPrinter::Error) return true;
    reason =
        QStringLiteral("プリンタ %1 が印刷を受け付けませんでした").arg(printer_->printerName());
    return false;
}

// Whatever is left of a sheet goes, unfinished: nothing of it is written.
void QtPrinter::closeDocument() {
    if (page_) page_->end();
    page_.reset();
    pdf_.reset();
}

} // namespace nimbrel
