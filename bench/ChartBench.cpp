// One drawing pass of the whole chart onto the window's image, as a resize or a new file does.
#include "BenchDays.h"

#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "ichimoku/Ichimoku.h"
#include "render/ImageSurface.h"

#include <benchmark/benchmark.h>

namespace nimbrel {

namespace {

void drawDays(benchmark::State& state, int days) {
    auto series = loadedFullSeries(state);
    if (!series) return;
    computeIchimoku(*series);
    ViewState view;
    view.maxLength = static_cast<int16_t>(days);
    view.firstDay = static_cast<int16_t>(series->dataCount - days + 1);
    view.spanBack = true;
    scanVisibleRange(*series, view);
    QImage image = chartImage(QSize(1600, 900));
    for (auto _ : state) {
        ImageSurface surface(image);
        drawChart(surface, *series, view, kScreenProfile);
    }
}

void BM_DrawChart120Days(benchmark::State& state) {
    drawDays(state, 120);
}
void BM_DrawChartAllDays(benchmark::State& state) {
    drawDays(state, kMaxDays);
}
BENCHMARK(BM_DrawChart120Days)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawChartAllDays)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace nimbrel
