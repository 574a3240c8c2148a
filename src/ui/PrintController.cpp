#include "ui/PrintController.h"

#include "print/PrintDocument.h"
#include "ui/BusyPointer.h"
#include "ui/MessageBoxes.h"
#include "ui/QtPrinter.h"

namespace nimbrel {

PrintController::PrintController(QWidget* window, PrintDialogs& dialogs, MessageBoxes& messages)
    : window_(window), dialogs_(dialogs), messages_(messages) {}

PrintController::~PrintController() = default;

PrintDocument& PrintController::document() {
    if (!document_) {
        printer_ = std::make_unique<QtPrinter>();
        document_ = std::make_unique<PrintDocument>(*printer_);
    }
    return *document_;
}

void PrintController::setUpPage() {
    document();
    printer_->setUp(dialogs_, window_);
}

bool PrintController::print(const PriceSeries& series, ViewState& view, SheetPart part) {
    PrintDocument& sheet = document();
    if (!sheet.chooseFile(dialogs_, window_, series)) return false;
    PrintResult result;
    {
        BusyPointer busy;
        result = sheet.printChart(series, view, part);
    }
    if (result.failure) messages_.showMessage(window_, *result.failure);
    return result.printedChart;
}

void PrintController::end() {
    if (!document_) return;
    if (const std::optional<Message> failure = document_->end())
        messages_.showMessage(window_, *failure);
}

} // namespace nimbrel
