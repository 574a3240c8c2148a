// The window's own figures, from a launcher that notes the time it started the process:
//     NIMBREL_LAUNCHED_NS=$(date +%s%N) nimbrel_window_figures FILE
// Prints start-up to the first painted chart (from launch and from main), the mean time of a
// redraw after a resize, the resident memory with the file loaded, and the print command's time
// to a PDF on a whole sheet, the first and the next. Settings go to a folder of their own: a
// 1920 x 1080 window showing all the file's days.
#include "system/IniSettingsStore.h"
#include "painter/PainterSurface.h"
#include "ui/QtInputBoxes.h"
#include "ui/QtMessageBoxes.h"
#include "print/PrintDialogs.h"
#include "ui/ChartView.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

using namespace nimbrel;

namespace {

double nowMilliseconds() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The processor time of this process: on a machine shared with other work, steadier than
// the clock on the wall (the display server's share is not in it).
double processorMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

QString residentMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return QStringLiteral("?");
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return QString::fromLatin1(line.mid(6).trimmed());
    return QStringLiteral("?");
}

// A message would wait for a click that never comes: print it and go on.
class PrintedMessages final : public MessageBoxes {
public:
    void showMessage(QWidget*, const Message& message) override {
        std::fprintf(stderr, "%s\n", qPrintable(message.text));
    }
};

// The print command's file name, without a dialog.
class PdfFileDialogs final : public PrintDialogs {
public:
    explicit PdfFileDialogs(QString path) : path_(std::move(path)) {}
    bool setUpPrinter(QWidget*, QPrinter&) override { return false; }
    QString pdfFileName(QWidget*, const QString&) override { return path_; }
    const QString& path() const { return path_; }

private:
    QString path_;
};

class FirstPaint final : public QObject {
public:
    FirstPaint(MainWindow& window, const PdfFileDialogs& pdf, double launched, double mainStarted)
        : window_(window), pdf_(pdf), launched_(launched), mainStarted_(mainStarted) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && window_.series().dataCount > 0 && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [this] { report(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void report() {
        const double now = nowMilliseconds(), processor = processorMilliseconds();
        if (launched_ > 0) std::printf("launch to first paint: %.1f ms\n", now - launched_);
        std::printf("main to first paint:   %.1f ms (%.1f ms processor from launch)\n",
                    now - mainStarted_, processor);
        std::printf("window %dx%d, %d days shown\n", window_.chartView()->width(),
                    window_.chartView()->height(), window_.view().maxLength);
        QElapsedTimer timer;
        constexpr int kRounds = 30;
        timer.start();
        const double processorStart = processorMilliseconds();
        for (int i = 0; i < kRounds; ++i) {
            window_.resize(window_.width() + (i % 2 ? 1 : -1), window_.height());
            QCoreApplication::processEvents();
        }
        std::printf("resize to redraw:      %.2f ms (%.2f ms processor)\n",
                    timer.nsecsElapsed() / 1e6 / kRounds,
                    (processorMilliseconds() - processorStart) / kRounds);
        std::printf("resident memory:       %s\n", qPrintable(residentMemory()));
        printSheets();
        QCoreApplication::quit();
    }

    // The print command as a user gives it, the chart redrawn after it included. A machine with
    // a printer would print on paper: there the figure is left out. Looking for printers is
    // what the first print command does more than the next.
    void printSheets() {
        QElapsedTimer timer;
        timer.start();
        const bool printerInstalled = !QPrinterInfo::availablePrinterNames().isEmpty();
        std::printf("finding the printers:  %.1f ms\n", timer.nsecsElapsed() / 1e6);
        if (printerInstalled) {
            std::printf("print:                 left out, a printer is installed\n");
            return;
        }
        for (const char* which : {"first", "next"}) {
            timer.start();
            const double processorStart = processorMilliseconds();
            window_.action("print")->trigger();
            QCoreApplication::processEvents();
            std::printf("print (%s):%*s %.1f ms (%.1f ms processor), PDF %lld bytes\n", which,
                        int(8 - std::strlen(which)), "", timer.nsecsElapsed() / 1e6,
                        processorMilliseconds() - processorStart, QFileInfo(pdf_.path()).size());
        }
    }

    MainWindow& window_;
    const PdfFileDialogs& pdf_;
    double launched_, mainStarted_;
    bool seen_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    const double mainStarted = nowMilliseconds();
    const double launched = qEnvironmentVariable("NIMBREL_LAUNCHED_NS").toDouble() / 1e6;
    if (argc != 2) {
        std::fprintf(stderr, "usage: NIMBREL_LAUNCHED_NS=$(date +%%s%%N) %s FILE\n", argv[0]);
        return 2;
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);
    registerChartFonts();
    IniSettingsStore store;
    for (const auto& [key, value] : {std::pair{"top", "0"},
                                     {"left", "0"},
                                     {"width", "28800"},
                                     {"height", "16200"},
                                     {"maxLength", "15000"}})
        store.setValue(QString::fromLatin1(key), QString::fromLatin1(value));
    PrintedMessages messages;
    QtInputBoxes inputs;
    PdfFileDialogs printDialogs(config.filePath(QStringLiteral("sheet.pdf")));
    MainWindow window(store, messages, inputs, printDialogs);
    FirstPaint watcher(window, printDialogs, launched, mainStarted);
    window.chartView()->installEventFilter(&watcher);
    window.showAsSaved();
    window.openFile(QString::fromLocal8Bit(argv[1]));
    return application.exec();
}
