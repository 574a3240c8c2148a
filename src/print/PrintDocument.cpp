#include "print/PrintDocument.h"

#include "chart/ChartPainter.h"
#include "print/PrintDialogs.h"
#include "print/Printer.h"

namespace nimbrel {

namespace {

// "印刷できません" and the platform's reason, as a box or a line on standard error shows it.
Message printFailure(const QString& reason) {
    return {QStringLiteral("エラー"), QStringLiteral("印刷できません\n") + reason,
            MessageIcon::Exclamation};
}

} // namespace

PrintDocument::PrintDocument(Printer& printer) : printer_(printer) {}

bool PrintDocument::chooseFile(PrintDialogs& dialogs, QWidget* parent, const PriceSeries& series) {
    if (isOpen() || series.dataCount <= 0 || !printer_.printsToFile()) return true;
    const QString name = dialogs.pdfFileName(parent, printer_.fileName());
    if (name.isEmpty()) return false;
    printer_.setFileName(name);
    return true;
}

PrintResult PrintDocument::printChart(const PriceSeries& series, ViewState& view, SheetPart part) {
    PrintResult result;
    if (series.dataCount <= 0) {
        if (part == SheetPart::Whole) result.failure = endSheet();
        return result;
    }
    if (!page_) {
        QString reason;
        page_ = printer_.beginDocument(reason);
        if (!page_) {
            result.failure = printFailure(reason);
            return result;
        }
    }
    drawChart(*page_, series, view, kPageProfile, part);
    if (part != SheetPart::UpperHalf) result.failure = endSheet();
    result.printedChart = !result.failure;
    return result;
}

std::optional<Message> PrintDocument::end() {
    return endSheet();
}

std::optional<Message> PrintDocument::endSheet() {
    if (!page_) return std::nullopt;
    page_ = nullptr;
    QString reason;
    if (!printer_.endDocument(reason)) return printFailure(reason);
    return std::nullopt;
}

} // namespace nimbrel
