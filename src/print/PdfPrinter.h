#pragma once

#include "print/Printer.h"

#include <QByteArray>
#include <QPageLayout>

#include <memory>

class QBuffer;
class QPdfWriter;

namespace nimbrel {

class PageSurface;

// Sheets written as PDF files. A sheet is drawn in memory and written as a whole file only
// once complete, so a failed sheet never leaves a broken file or spoils an older one.
class PdfPrinter final : public Printer {
public:
    // The paper, its orientation and margins, and the dots per inch the page is drawn at.
    PdfPrinter(const QPageLayout& page, int resolution);
    ~PdfPrinter() override;

    bool printsToFile() const override { return true; }
    QString fileName() const override { return fileName_; }
    void setFileName(const QString& path) override { fileName_ = path; }
    Surface* beginDocument(QString& reason) override;
    [[nodiscard]] bool endDocument(QString& reason) override;

private:
    void closeDocument();

    QPageLayout page_;
    int resolution_;
    QString fileName_;
    QByteArray pdf_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<PageSurface> surface_;
};

} // namespace nimbrel
