#pragma once

#include "system/IniSettingsStore.h"
#include "ui/MainWindow.h"

#include "LoaderTestSupport.h"
#include "PrintFakes.h"
#include "RecordedMessages.h"
#include "ScriptedInputs.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace nimbrel {

class ChartView;

// The real main window of a scenario and what it works on: a folder of the scenario's files,
// the settings file, and message boxes, input boxes and print dialogs answered by the steps.
class ScenarioWindow {
public:
    ScenarioWindow() { QFile::remove(IniSettingsStore().fileName()); }
    ~ScenarioWindow() {
        if (window_) window_->close();
    }

    void run(const QStringList& w);

private:
    QString path(const QString& name) const {
        if (name.isEmpty() || QDir::isAbsolutePath(name)) return name;
        const QString own = dir_.filePath(name);
        return QFileInfo::exists(own) || !QFileInfo::exists(kFixtures + '/' + name)
                   ? own
                   : kFixtures + '/' + name;
    }
    MainWindow& window() const { return *window_; }
    ChartView* chart() const { return window_->chartView(); }

    QWidget* widget(const QString& name) const;
    QPoint pointAt(const QString& at) const;
    void start(const QString& size);
    void writeDays(const QString& name, int days, const QString& tail);
    void mouse(const QStringList& w, bool click);
    void expect(const QStringList& w); // ScenarioExpectations.cpp

    QTemporaryDir dir_;
    std::unique_ptr<IniSettingsStore> store_;
    RecordedMessages messages_;
    ScriptedInputs inputs_;
    FakePrintDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
    QImage snapshot_;
    QPoint placed_;  // where the user moved a window
    QPoint pointer_; // where the mouse last was over the chart
};

} // namespace nimbrel
