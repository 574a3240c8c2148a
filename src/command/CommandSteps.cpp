#include "command/CommandSteps.h"

#include "analysis/Bars.h"
#include "chart/ChartTexts.h"
#include "chart/ViewOperations.h"
#include "command/CommandAnalysis.h"
#include "data/DataFileLoader.h"
#include "ichimoku/Ichimoku.h"
#include "system/FileAccess.h"
#include "system/HugePages.h"
#include "system/OutputFile.h"

#include <QFileInfo>

#include <new>

namespace nimbrel {

namespace {

SeriesPointer newSeries() {
    void* memory = mapHugePages(sizeof(PriceSeries));
    if (!memory) throw std::bad_alloc();
    return SeriesPointer(new (memory) PriceSeries());
}

} // namespace

void SeriesInHugePages::operator()(PriceSeries* series) const {
    series->~PriceSeries();
    unmapHugePages(series, sizeof(PriceSeries));
}

LoadedFile loadFile(const QString& path, const Request& request, CommandResult& result) {
    LoadedFile loaded{newSeries(), nullptr};
    const QFileInfo file(path);
    if (const std::optional<LoadFailure> failure =
            loadDataFile(*loaded.days, file.path(), file.fileName(), request.sheet))
        reportProblem(failure->message, result);
    if (request.bars != BarPeriod::Daily) {
        loaded.weeksOrMonths = newSeries();
        makeBars(*loaded.days, request.bars, *loaded.weeksOrMonths);
    }
    computeIchimoku(loaded.bars());
    return loaded;
}

ViewState requestedView(const Request& request, const PriceSeries& series) {
    ViewState view;
    view.maxLength = static_cast<int16_t>(request.days);
    view.logY = request.logY;
    view.spanForward = request.spanForward;
    view.spanBack = request.spanBack;
    view.bars = request.bars;
    showNewestDays(series, view);
    return view;
}

bool analyseInto(const Request& request, LoadedFile& file, ViewState& view, CommandResult& result) {
    if (!request.analyses()) return true;
    const CommandAnalysis found = analyse(request, *file.days, file.bars(), view.decimalsUnit);
    if (found.missingDate) {
        reportProblem(Message{QStringLiteral("エラー"),
                              dateText(*found.missingDate) + QStringLiteral(" の日がありません"),
                              MessageIcon::Exclamation},
                      result);
        result.exitCode = 2;
        return false;
    }
    view.marks = found.marks;
    result.standardOutput += found.lines;
    return true;
}

void writeOutput(const Request& request, std::string_view bytes, CommandResult& result) {
    if (bytes.empty() || !writeWholeFile(encodeFileName(request.output), bytes))
        reportProblem(cannotWrite(request.output), result);
}

} // namespace nimbrel
