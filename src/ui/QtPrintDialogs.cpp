#include "ui/QtPrintDialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace nimbrel {

bool QtPrintDialogs::setUpPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("ページ設定"));
    // One chart is one sheet: there are no pages to choose from.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    // The dialog confirms a choice of printer and paper here; it prints nothing.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* confirm = buttons->button(QDialogButtonBox::Ok))
            confirm->setText(QStringLiteral("設定(&S)"));
    }
    return dialog.exec() == QDialog::Accepted;
}

QString QtPrintDialogs::pdfFileName(QWidget* parent, const QString& suggested) {
    const QFileInfo start(suggested.isEmpty() ? QDir::home().filePath(QStringLiteral("Nimbrel.pdf"))
                                              : suggested);
    QFileDialog dialog(parent, QStringLiteral("PDFに印刷"), start.absolutePath(),
                       QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf")); // a name typed without it still opens as PDF
    dialog.selectFile(start.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

} // namespace nimbrel
