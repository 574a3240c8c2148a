#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace nimbrel {

// The dialogs of printing: the window shows them through this, tests answer them.
class PrintDialogs {
public:
    virtual ~PrintDialogs() = default;
    // The platform's printer dialog (printer, paper, orientation, printing to a file) over the
    // printer's settings. False when cancelled; the printer is then unchanged.
    virtual bool setUpPrinter(QWidget* parent, QPrinter& printer) = 0;
    // The PDF file a sheet is written to, starting from `suggested`; empty when cancelled.
    virtual QString pdfFileName(QWidget* parent, const QString& suggested) = 0;
};

} // namespace nimbrel
