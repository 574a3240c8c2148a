#pragma once

#include "print/Printer.h"

#include <memory>

class QPrinter;
class QWidget;

namespace nimbrel {

class PageSurface;
class PdfPrinter;
class PrintDialogs;

// The platform's printer: the system's default printer, or PDF files when none is installed
// or printing to a file was chosen.
class QtPrinter final : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;

    // The page setup: the platform's printer dialog. The choice holds for the sheets that follow;
    // a sheet already open keeps the printer and paper it was begun on.
    bool setUp(PrintDialogs& dialogs, QWidget* parent);
    // The printer the next sheet goes to.
    QPrinter& printer() { return *printer_; }

    bool printsToFile() const override;
    QString fileName() const override;
    void setFileName(const QString& path) override;
    Surface* beginDocument(QString& reason) override;
    [[nodiscard]] bool endDocument(QString& reason) override;

private:
    bool documentOpen() const;
    void closeDocument();

    std::unique_ptr<QPrinter> printer_;
    // Chosen in a page setup while a sheet was open: the printer of the next sheet.
    std::unique_ptr<QPrinter> nextPrinter_;
    std::unique_ptr<PageSurface> page_; // a sheet open on the printer
    std::unique_ptr<PdfPrinter> pdf_;   // a sheet open as a PDF
};

} // namespace nimbrel
