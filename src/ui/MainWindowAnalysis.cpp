#include "ui/MainWindow.h"

#include "chart/ViewOperations.h"
#include "data/TextForms.h"
#include "ichimoku/Ichimoku.h"
#include "options/InputBoxes.h"
#include "ui/BusyPointer.h"
#include "ui/ChartTools.h"

namespace nimbrel {

// Bars of weeks and months, time marks and price targets.

void MainWindow::makeShownBars() {
    makeBars(*days_, view_.bars, *series_);
    computeIchimoku(*series_);
}

void MainWindow::placeMarks() {
    view_.marks = marksOn(marked_, *series_, settings_.basicNumbers);
    tools_->showAnalysis(view_.marks, marked_);
}

void MainWindow::setBars(BarPeriod bars) {
    view_.bars = bars;
    tickBars();
    BusyPointer busy;
    // The days stay loaded: a switch makes the bars anew, and the marks keep their dates.
    makeShownBars();
    showNewestDays(*series_, view_);
    placeMarks();
    redrawChart();
}

void MainWindow::analysisPicked(Picking picking, const std::vector<PickedPoint>& points) {
    auto dated = [this](const PickedPoint& point) {
        return DatedPoint{series_->priceTable[static_cast<size_t>(point.bar)].date, point.price};
    };
    switch (picking) {
    case Picking::BasicNumbers:
        marked_.basicPivots.push_back(dated(points[0]).date);
        break;
    case Picking::EqualCount:
        marked_.equalCounts.push_back({dated(points[0]).date, dated(points[1]).date});
        break;
    case Picking::PriceTargets:
        marked_.targets = {{dated(points[0]), dated(points[1]), dated(points[2])}};
        break;
    case Picking::None:
        return;
    }
    placeMarks();
    redrawChart();
}

void MainWindow::clearMarks() {
    tools_->cancelPicking();
    if (marked_.empty()) return;
    marked_ = {};
    placeMarks();
    redrawChart();
}

void MainWindow::askBasicNumbers() {
    const QString entry = inputs_.ask({QStringLiteral("基本数値は? (コンマで区切って)")},
                                      numberListText(settings_.basicNumbers));
    const std::optional<std::vector<int>> numbers = parseNumberList(asciiNumberForms(entry));
    if (!numbers) return;
    settings_.basicNumbers = *numbers;
    placeMarks();
    redrawChart();
}

} // namespace nimbrel
