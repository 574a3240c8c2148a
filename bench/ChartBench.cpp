// One drawing pass of the whole chart onto the window's image, as a resize or a new file does;
// and the same with the 15 time marks of the basic numbers and the 4 price targets on it.
#include "BenchDays.h"

#include "chart/ChartMarks.h"
#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "ichimoku/Ichimoku.h"
#include "painter/ImageSurface.h"

#include <benchmark/benchmark.h>

namespace nimbrel {

namespace {

// The basic numbers from 260 days before the newest, and the targets of a rise from 60 days
// before it (A a low, B a high, C a low).
ChartMarks fullMarks(const PriceSeries& series) {
    auto row = [&](int back) { return series.priceTable[size_t(series.dataCount - back)]; };
    MarkedAnalysis marked;
    marked.basicPivots.push_back(row(260).date);
    marked.targets = {{{row(60).date, row(60).low},
                       {row(40).date, row(40).high},
                       {row(20).date, row(20).low}}};
    return marksOn(marked, series, kBasicNumbers);
}

void drawDays(benchmark::State& state, int days, bool marked = false) {
    auto series = loadedFullSeries(state);
    if (!series) return;
    computeIchimoku(*series);
    ViewState view;
    view.maxLength = static_cast<int16_t>(days);
    view.firstDay = static_cast<int16_t>(series->dataCount - days + 1);
    view.spanBack = true;
    if (marked) view.marks = fullMarks(*series);
    scanVisibleRange(*series, view);
    QImage image = chartImage(QSize(1600, 900));
    ChartLayout layout;
    for (auto _ : state) {
        ImageSurface surface(image);
        layout = drawChart(surface, *series, view, kScreenProfile);
    }
    if (marked) {
        state.counters["timeMarks"] = double(layout.timeMarks.size());
        state.counters["targetLines"] = double(layout.targets.size());
    }
}

void BM_DrawChart120Days(benchmark::State& state) {
    drawDays(state, 120);
}
void BM_DrawChartAllDays(benchmark::State& state) {
    drawDays(state, kMaxDays);
}
void BM_DrawChartAllDaysWithMarks(benchmark::State& state) {
    drawDays(state, kMaxDays, true);
}
BENCHMARK(BM_DrawChart120Days)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawChartAllDays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawChartAllDaysWithMarks)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace nimbrel
