#pragma once

#include "print/PrintDialogs.h"

namespace nimbrel {

// Qt's printer dialog and file dialog.
class QtPrintDialogs final : public PrintDialogs {
public:
    bool setUpPrinter(QWidget* parent, QPrinter& printer) override;
    QString pdfFileName(QWidget* parent, const QString& suggested) override;
};

} // namespace nimbrel
