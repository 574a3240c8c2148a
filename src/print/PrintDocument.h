#pragma once

#include "chart/ChartLayout.h"
#include "chart/ViewState.h"
#include "data/PriceSeries.h"
#include "system/Message.h"

#include <optional>

class QWidget;

namespace nimbrel {

class Printer;
class PrintDialogs;
class Surface;

// What one print command did.
struct PrintResult {
    // A chart with data went onto a sheet that came out, or onto a half still open.
    bool printedChart = false;
    // The printer's error; the open sheet was then abandoned.
    std::optional<Message> failure;
};

// The sheet being printed: open from the first chart drawn on it until a whole sheet or a lower
// half ends it, or the program ends. An upper half leaves it open, so the next chart is drawn
// on the same page; the drawing pass never ends it.
class PrintDocument {
public:
    explicit PrintDocument(Printer& printer);

    bool isOpen() const { return page_ != nullptr; }

    // A chart that begins a sheet written to a PDF asks once for the file. False when the user
    // cancelled: the command then prints nothing.
    bool chooseFile(PrintDialogs& dialogs, QWidget* parent, const PriceSeries& series);
    // The chart of the view on its part of the page; the whole sheet and the lower half end the
    // document (a whole sheet also when there is no data, bringing out an upper half).
    [[nodiscard]] PrintResult printChart(const PriceSeries& series, ViewState& view,
                                         SheetPart part);
    // The end of the program: a sheet still open comes out.
    [[nodiscard]] std::optional<Message> end();

private:
    std::optional<Message> endSheet();

    Printer& printer_;
    Surface* page_ = nullptr;
};

} // namespace nimbrel
