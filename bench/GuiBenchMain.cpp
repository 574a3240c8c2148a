// The main of the benchmarks that draw: fonts and printers need a GUI application, and no
// screen is needed.
#include "painter/PainterSurface.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace nimbrel;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    registerChartFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
