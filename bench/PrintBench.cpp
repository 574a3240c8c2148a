// One printed sheet of all the days to a PDF file, as the print commands and --print-pdf draw
// it: the page pass, the PDF engine and the file.
#include "BenchDays.h"

#include "chart/ViewOperations.h"
#include "ichimoku/Ichimoku.h"
#include "ui/QtPrinter.h"
#include "print/PrintDocument.h"

#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace nimbrel {

namespace {

void printAllDays(benchmark::State& state, bool twoHalves) {
    auto series = loadedFullSeries(state);
    if (!series) return;
    computeIchimoku(*series);
    ViewState view;
    view.maxLength = kMaxDays;
    scanVisibleRange(*series, view);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    QtPrinter printer;
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setPageSize(QPageSize(QPageSize::A4));
    printer.setFileName(pdf);
    for (auto _ : state) {
        PrintDocument document(printer);
        if (twoHalves) (void)document.printChart(*series, view, SheetPart::UpperHalf);
        const PrintResult result =
            document.printChart(*series, view, twoHalves ? SheetPart::LowerHalf : SheetPart::Whole);
        if (result.failure) state.SkipWithError("the sheet was not written");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(pdf).size());
}

void BM_PrintWholeSheetAllDays(benchmark::State& state) {
    printAllDays(state, false);
}
void BM_PrintTwoHalvesAllDays(benchmark::State& state) {
    printAllDays(state, true);
}
BENCHMARK(BM_PrintWholeSheetAllDays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintTwoHalvesAllDays)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace nimbrel
