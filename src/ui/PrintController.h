#pragma once

#include "chart/ChartLayout.h"

#include <memory>

class QWidget;

namespace nimbrel {

class MessageBoxes;
class PrintDialogs;
class PrintDocument;
class QtPrinter;
struct PriceSeries;
struct ViewState;

// The window's printing: the page setup, the print commands and the sheet that an upper half
// leaves open until the end of the program. Printer errors are shown to the user here.
class PrintController {
public:
    PrintController(QWidget* window, PrintDialogs& dialogs, MessageBoxes& messages);
    ~PrintController();

    void setUpPage();
    // Prints the view's chart on its part of a sheet; true when a chart with data went onto
    // paper (or onto a half still open).
    bool print(const PriceSeries& series, ViewState& view, SheetPart part);
    // The end of the program: a sheet still open comes out.
    void end();

private:
    // Made on the first print command: finding the printers takes a moment.
    PrintDocument& document();

    QWidget* window_;
    PrintDialogs& dialogs_;
    MessageBoxes& messages_;
    std::unique_ptr<QtPrinter> printer_;
    std::unique_ptr<PrintDocument> document_;
};

} // namespace nimbrel
