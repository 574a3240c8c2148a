// The mouse tools and an option command on the real window (offscreen), 15000 days at
// 1600x900: a pointer move that updates the read-out, one step of the zoom's rubber band and
// of the crosshair, 日数指定 to a redrawn chart of all days, a scroll step by key and by wheel
// to the redrawn chart, a reload of the file; and the memory in use with both tool windows
// open.
#include "BenchDays.h"

#include "options/InputBoxes.h"
#include "system/IniSettingsStore.h"
#include "ui/MessageBoxes.h"
#include "painter/PainterSurface.h"
#include "ui/QtPrintDialogs.h"
#include "ui/ChartView.h"
#include "ui/MainWindow.h"
#include "ui/ReadoutWindow.h"

#include <QAction>
#include <QKeyEvent>
#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

using namespace nimbrel;

namespace {

class AnsweringBoxes final : public InputBoxes {
public:
    QString answer;
    QString ask(const QStringList&, const QString&) override { return answer; }
};

class SilentMessages final : public MessageBoxes {
public:
    void showMessage(QWidget*, const Message&) override {}
};

struct Window {
    QTemporaryDir folder;
    IniSettingsStore store;
    SilentMessages messages;
    AnsweringBoxes boxes;
    QtPrintDialogs printDialogs;
    std::unique_ptr<MainWindow> window;

    Window() {
        file = folder.filePath(QStringLiteral("days15000.txt"));
        QFile out(file);
        const std::string text = makeDaysText(kMaxDays);
        out.open(QIODevice::WriteOnly);
        out.write(text.data(), static_cast<qint64>(text.size()));
        out.close();
        window = std::make_unique<MainWindow>(store, messages, boxes, printDialogs);
        window->show();
        window->resize(1600, 900 + window->menuBar()->height());
        QCoreApplication::processEvents();
        window->openFile(file);
    }

    QString file;

    void send(QEvent::Type type, Qt::MouseButton button, QPointF at) {
        ChartView* view = window->chartView();
        QMouseEvent event(type, at, view->mapToGlobal(at), button,
                          type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &event);
    }
};

// Made by the first benchmark that needs it; gone before the application object, which its
// widgets need to close.
std::unique_ptr<Window> sharedWindow;

Window& theWindow() {
    if (!sharedWindow) sharedWindow = std::make_unique<Window>();
    return *sharedWindow;
}

void BM_PointerMoveUpdatesTheReadout(benchmark::State& state) {
    Window& w = theWindow();
    w.send(QEvent::MouseButtonPress, Qt::LeftButton, {800, 400});
    int step = 0;
    for (auto _ : state) ++step, w.send(QEvent::MouseMove, Qt::NoButton, {700.0 + step % 200, 400});
    if (w.window->readoutWindow()->dayShown() < 1)
        state.SkipWithError("the read-out did not follow");
}
BENCHMARK(BM_PointerMoveUpdatesTheReadout)->Unit(benchmark::kMicrosecond);

void BM_ZoomBandStep(benchmark::State& state) {
    Window& w = theWindow();
    w.window->readoutWindow()->hide();
    w.window->action("zoom")->trigger();
    w.send(QEvent::MouseButtonPress, Qt::LeftButton, {300, 200});
    int step = 0;
    for (auto _ : state)
        ++step, w.send(QEvent::MouseMove, Qt::NoButton, {900.0 + step % 300, 600.0 + step % 200});
    w.send(QEvent::MouseButtonPress, Qt::RightButton, {900, 600}); // the band given up
}
BENCHMARK(BM_ZoomBandStep)->Unit(benchmark::kMicrosecond);

void BM_DaysShownToARedrawnChartOfAllDays(benchmark::State& state) {
    Window& w = theWindow();
    w.boxes.answer = QString::number(kMaxDays);
    for (auto _ : state) w.window->action("daysShown")->trigger();
    if (w.window->layout().firstDay != 1) state.SkipWithError("not all days were drawn");
}
BENCHMARK(BM_DaysShownToARedrawnChartOfAllDays)->Unit(benchmark::kMillisecond);

// That many of the newest days.
void showDays(Window& w, int days) {
    w.boxes.answer = QString::number(days);
    w.window->action("daysShown")->trigger();
    w.window->action("resetChart")->trigger();
}

// Every step ends with the chart on the window: the paint it asked for is done.
void BM_ScrollStepByKey(benchmark::State& state) {
    Window& w = theWindow();
    showDays(w, static_cast<int>(state.range(0)));
    int step = 0, moved = 0;
    for (auto _ : state) {
        const int before = w.window->layout().lastDay;
        QKeyEvent key(QEvent::KeyPress, ++step % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
        QCoreApplication::sendEvent(w.window->chartView(), &key);
        QCoreApplication::processEvents();
        moved += w.window->layout().lastDay != before;
    }
    if (moved != step) state.SkipWithError("the chart did not move");
}
// 120 days, and all but 100 of the 15000 (all of them cannot move).
BENCHMARK(BM_ScrollStepByKey)->Arg(120)->Arg(kMaxDays - 100)->Unit(benchmark::kMillisecond);

void BM_ScrollStepByWheel(benchmark::State& state) {
    Window& w = theWindow();
    showDays(w, static_cast<int>(state.range(0)));
    ChartView* view = w.window->chartView();
    int step = 0, moved = 0;
    for (auto _ : state) {
        const int before = w.window->layout().lastDay;
        const QPoint notch(0, ++step % 2 ? 120 : -120);
        QWheelEvent wheel(QPointF(800, 400), view->mapToGlobal(QPointF(800, 400)), {}, notch,
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view, &wheel);
        QCoreApplication::processEvents();
        moved += w.window->layout().lastDay != before;
    }
    if (moved != step) state.SkipWithError("the chart did not move");
}
BENCHMARK(BM_ScrollStepByWheel)->Arg(120)->Arg(kMaxDays - 100)->Unit(benchmark::kMillisecond);

void BM_CrosshairStep(benchmark::State& state) {
    Window& w = theWindow();
    showDays(w, 120);
    w.window->action("crosshair")->trigger();
    int step = 0;
    for (auto _ : state) {
        ++step;
        w.send(QEvent::MouseMove, Qt::NoButton, {700.0 + step % 200, 300.0 + step % 150});
        QCoreApplication::processEvents();
    }
    w.window->action("crosshair")->trigger();
}
BENCHMARK(BM_CrosshairStep)->Unit(benchmark::kMicrosecond);

void BM_ReloadToARedrawnChart(benchmark::State& state) {
    Window& w = theWindow();
    showDays(w, 120);
    for (auto _ : state) {
        w.window->action("reload")->trigger();
        QCoreApplication::processEvents();
    }
    if (w.window->series().dataCount != kMaxDays) state.SkipWithError("the file was not reloaded");
}
BENCHMARK(BM_ReloadToARedrawnChart)->Unit(benchmark::kMillisecond);

// Resident memory with the 15000-day file loaded and both tool windows open.
void BM_MemoryWithBothToolWindowsOpen(benchmark::State& state) {
    Window& w = theWindow();
    w.window->action("measureDays")->trigger();
    w.send(QEvent::MouseButtonPress, Qt::RightButton, {10, 10}); // nothing: closes the tools
    w.window->action("measureDays")->trigger();
    w.send(QEvent::MouseMove, Qt::NoButton, {500, 300});
    QCoreApplication::processEvents();
    for (auto _ : state) benchmark::DoNotOptimize(w.window.get());
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) state.counters["VmRSS_kB"] = std::stod(line.substr(6));
}
BENCHMARK(BM_MemoryWithBothToolWindowsOpen)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);
    registerChartFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedWindow.reset();
    return 0;
}
