#include "print/PdfPrinter.h"

#include "painter/PageSurface.h"
#include "system/FileAccess.h"
#include "system/OutputFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPdfWriter>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace nimbrel {

PdfPrinter::PdfPrinter(const QPageLayout& page, int resolution)
    : page_(page), resolution_(resolution) {}

PdfPrinter::~PdfPrinter() {
    closeDocument();
}

Surface* PdfPrinter::beginDocument(QString& reason) {
    if (surface_) return surface_.get();
    if (fileName_.isEmpty()) {
        reason = QStringLiteral("PDFのファイル名がありません");
        return nullptr;
    }
    // A folder that cannot take the file is told at once, not when the sheet is done.
    const QByteArray folder = encodeFileName(QFileInfo(fileName_).absolutePath());
    if (access(folder.constData(), W_OK | X_OK) != 0) {
        reason = fileName_ + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    pdf_.clear();
    buffer_ = std::make_unique<QBuffer>(&pdf_);
    buffer_->open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(buffer_.get());
    writer_->setTitle(QStringLiteral("Nimbrel"));
    writer_->setCreator(QStringLiteral("Nimbrel"));
    writer_->setPageLayout(page_);
    writer_->setResolution(resolution_);
    surface_ = std::make_unique<PageSurface>(*writer_, resolution_);
    if (!surface_->isActive()) {
        reason = fileName_ + QStringLiteral(": ") + QStringLiteral("書き込めません");
        closeDocument();
        return nullptr;
    }
    return surface_.get();
}

bool PdfPrinter::endDocument(QString& reason) {
    if (!surface_) return true;
    surface_->end();
    const bool complete = pdf_.trimmed().endsWith("%%EOF");
    const bool written =
        complete && writeWholeFile(encodeFileName(fileName_),
                                   std::string_view(pdf_.constData(), size_t(pdf_.size())));
    if (!written) {
        reason = fileName_ + QStringLiteral(": ") +
                 (complete ? QString::fromLocal8Bit(std::strerror(errno))
                           : QStringLiteral("書き込みが途中で終わりました"));
    }
    closeDocument();
    return written;
}

void PdfPrinter::closeDocument() {
    if (surface_) surface_->end();
    surface_.reset();
    writer_.reset();
    buffer_.reset();
    pdf_.clear();
}

} // namespace nimbrel
