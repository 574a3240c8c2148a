#include "ui/QtPrinter.h"

#include "print/PrintDialogs.h"
#include "ui/PrinterSurface.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

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

// The PDF engine reports no failed write; a complete file ends with its end-of-file marker.
bool isCompletePdf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16) return false;
    file.seek(std::max<qint64>(0, file.size() - 64));
    return file.readAll().contains("%%EOF");
}

// A draft is private to its writer; the PDF gets the permissions of the file it replaces, or
// those of any new file.
void giveUsualPermissions(const QString& draft, const QString& target) {
    const QFileInfo old(target);
    if (old.exists()) {
        QFile::setPermissions(draft, old.permissions());
        return;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(draft).constData(), 0666 & ~mask);
}

} // namespace

QtPrinter::QtPrinter() : printer_(newPrinter()) {}

QtPrinter::~QtPrinter() {
    // The program ends its open sheet itself; what is left here was never finished.
    if (page_) closeDocument();
}

bool QtPrinter::setUp(PrintDialogs& dialogs, QWidget* parent) {
    if (!page_) return dialogs.setUpPrinter(parent, *printer_);
    std::unique_ptr<QPrinter> next = copyOf(nextPrinter_ ? *nextPrinter_ : *printer_);
    // The open sheet writes to its draft; the next one starts from the user's own file name.
    if (!nextPrinter_ && pdfDraft_) next->setOutputFileName(pdfTarget_);
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
    if (nextPrinter_) printer_ = std::move(nextPrinter_);
    if (printer_->outputFormat() == QPrinter::PdfFormat) {
        pdfTarget_ = printer_->outputFileName();
        if (pdfTarget_.isEmpty()) {
            reason = QStringLiteral("PDFのファイル名がありません");
            return nullptr;
        }
        const QFileInfo target(pdfTarget_);
        pdfDraft_ = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.") +
                                                     target.completeBaseName() +
                                                     QStringLiteral("-XXXXXX.pdf"));
        if (!pdfDraft_->open()) {
            reason = pdfTarget_ + QStringLiteral(": ") + pdfDraft_->errorString();
            pdfDraft_.reset();
            return nullptr;
        }
        pdfDraft_->close();
        printer_->setOutputFileName(pdfDraft_->fileName());
    }
    page_ = std::make_unique<PrinterSurface>(*printer_);
    if (!page_->isActive()) {
        reason = printer_->outputFormat() == QPrinter::PdfFormat
                     ? pdfTarget_ + QStringLiteral(": ") + QStringLiteral("書き込めません")
                     : QStringLiteral("プリンタ %1 を使えません").arg(printer_->printerName());
        closeDocument();
        return nullptr;
    }
    return page_.get();
}

bool QtPrinter::endDocument(QString& reason) {
    if (!page_) return true;
    page_->end();
    const bool failed = printer_->printerState() == QPrinter::Error;
    page_.reset();
    if (!pdfDraft_) {
        if (failed)
            reason = QStringLiteral("プリンタ %1 が印刷を受け付けませんでした")
                         .arg(printer_->printerName());
        return !failed;
    }
    const QString draft = pdfDraft_->fileName();
    bool written = !failed && isCompletePdf(draft);
    if (!written)
        reason = pdfTarget_ + QStringLiteral(": ") + QStringLiteral("書き込みが途中で終わりました");
    if (written) {
        giveUsualPermissions(draft, pdfTarget_);
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(draft.toStdU16String()),
                                std::filesystem::path(pdfTarget_.toStdU16String()), error);
        if (error) {
            written = false;
            reason = pdfTarget_ + QStringLiteral(": ") + QString::fromStdString(error.message());
        }
    }
    closeDocument();
    return written;
}

// Whatever is left of a sheet goes: an unfinished draft is removed and the printer names the
// user's file again.
void QtPrinter::closeDocument() {
    if (page_) page_->end();
    page_.reset();
    if (pdfDraft_) {
        pdfDraft_->setAutoRemove(true);
        pdfDraft_.reset(); // removes the draft unless it became the user's file
        printer_->setOutputFileName(pdfTarget_);
    }
}

} // namespace nimbrel
