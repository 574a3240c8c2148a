#include "ui/MainWindow.h"

#include "chart/ViewOperations.h"
#include "data/DataFileLoader.h"
#include "data/LoadFailures.h"
#include "ui/BusyPointer.h"
#include "ui/ChartTools.h"
#include "ui/FileChooserPanel.h"
#include "ui/FileDrop.h"
#include "ui/FileWatch.h"
#include "ui/MessageBoxes.h"
#include "ui/OptionPanels.h"
#include "ui/RecentFilesMenu.h"

#include <QDir>
#include <QFileInfo>

namespace nimbrel {

// Opening, reloading and the recent files.

void MainWindow::showFileTitle(const QString& suffix) {
    setWindowTitle(kProgramTitle + QStringLiteral(" … ") + titleName_ + suffix);
}

void MainWindow::openDataFile() {
    const QString fileName = fileChooser_->fileToOpen();
    if (fileName.isEmpty()) return;
    BusyPointer busy;
    fileChooser_->hide();
    laggingPanel_->hide();
    yAxisPanel_->hide();
    tools_->hideReadout();
    view_.userStep = 0;
    view_.reduceX = view_.reduceY = 1;
    titleName_ = fileName;
    showFileTitle();
    const RecentFile file{QDir(fileChooser_->directory()).filePath(fileName),
                          fileChooser_->sheetName()};
    const std::optional<LoadFailure> failure =
        loadDataFile(*days_, fileChooser_->directory(), fileName, file.sheet);
    if (failure) {
        if (failure->problem == LoadProblem::SheetName) setWindowTitle(kProgramTitle);
        messages_.showMessage(this, failure->message);
    }
    fileShown(days_->dataCount > 0 ? file : RecentFile{});
    marked_ = {};
    makeShownBars();
    showNewestDays(*series_, view_);
    placeMarks();
    redrawChart();
}

void MainWindow::fileShown(const RecentFile& file) {
    shownFile_ = file;
    fileWatch_->watch(file.path);
    if (file.path.isEmpty()) return;
    rememberFile(settings_.recentFiles, file);
    recentFiles_->showFiles(settings_.recentFiles);
}

void MainWindow::reloadShownFile(bool asked) {
    if (shownFile_.path.isEmpty()) return;
    BusyPointer busy;
    auto loaded = std::make_unique<PriceSeries>();
    const QFileInfo file(shownFile_.path);
    const std::optional<LoadFailure> failure =
        loadDataFile(*loaded, file.absolutePath(), file.fileName(), shownFile_.sheet);
    // Too many days still loads the newest or the first of them, as an open does.
    const bool loadedAll = !failure || failure->problem == LoadProblem::TooManyDays;
    if (failure && asked) messages_.showMessage(this, failure->message);
    if (!loadedAll) {
        showFileTitle(QStringLiteral(" （再読み込みできません）"));
        return;
    }
    const int drawn = daysDrawn(series_->dataCount, view_);
    const int32_t newerLeftOut = view_.endOffset;
    days_ = std::move(loaded);
    makeShownBars();
    const int last = series_->dataCount - newerLeftOut;
    showDays(*series_, view_, last - drawn + 1, last);
    placeMarks();
    drawChartNow();
    if (const std::optional<int> day = tools_->readoutDay()) tools_->showReadoutDay(*day);
    showFileTitle();
    fileWatch_->watch(shownFile_.path);
}

void MainWindow::openRecent(const RecentFile& file) {
    if (!QFileInfo(file.path).isFile()) {
        messages_.showMessage(this, cannotOpenFailure(file.path).message);
        std::erase(settings_.recentFiles, file);
        recentFiles_->showFiles(settings_.recentFiles);
        return;
    }
    fileChooser_->setSheetName(file.sheet);
    openFile(file.path);
}

void MainWindow::setReloadOnChange(bool on) {
    fileWatch_->setEnabled(on);
    QAction* entry = action("reloadOnChange");
    entry->setCheckable(true);
    entry->setChecked(on);
}

void MainWindow::openFile(const QString& path) {
    const QFileInfo file(path);
    if (!fileChooser_->setDirectory(file.absolutePath())) return;
    fileChooser_->selectFile(file.fileName());
    openDataFile(); // a file that is not there is reported by the loader
}

} // namespace nimbrel
