#pragma once

// moc of Qt 6.4 cannot read the C++20 library headers these bring in; it needs none of them.
#ifndef Q_MOC_RUN
#include "chart/ChartLayout.h"
#include "chart/ViewState.h"
#include "data/PriceSeries.h"
#include "settings/UserSettings.h"
#endif

#include <QMainWindow>

#include <memory>

class AboutBox;
class ChartView;
class FileChooserPanel;
class MessageBoxes;
class PrintDialogs;
class PrintDocument;
class QAction;
class QtPrinter;
class QMenu;
class SettingsStore;

inline const QString kProgramTitle = QStringLiteral("Nimbrel(32)");

// The program: owns the price series, the view and the settings for the whole run, carries
// the menus and shows the chart in its client area.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(SettingsStore& store, MessageBoxes& messages, PrintDialogs& printDialogs);
    ~MainWindow() override;

    // Shows the window in the state the settings left it in.
    void showAsSaved();
    // Opens a data file as a double-click in the file list does; the lists move to its folder.
    void openFile(const QString& path);

    // The program's operations on its own state.
    void drawChart();
    void openDataFile();
    void initializeChart();

    const PriceSeries& series() const { return *series_; }
    const ViewState& view() const { return view_; }
    // The layout of the last pass that drew a chart on the window.
    const ChartLayout& layout() const { return layout_; }
    ChartView* chartView() const { return chartView_; }
    FileChooserPanel* fileChooser() const { return fileChooser_; }
    AboutBox* aboutBox() const { return aboutBox_; }
    QAction* action(const char* name) const;
    bool wasMinimized() const { return wasMinimized_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createMenus();
    void applySettings();
    void saveSettings();
    void clientResized();
    void showVersionInfo();
    void programWindowActivated(QWindow* now);
    void setUpPage();
    void printChart(SheetPart part);
    PrintDocument& printDocument();

    SettingsStore& store_;
    MessageBoxes& messages_;
    PrintDialogs& printDialogs_;
    std::unique_ptr<PriceSeries> series_;
    ViewState view_;
    ChartLayout layout_;
    UserSettings settings_;
    QRect placedGeometry_; // where the saved twips put the window, in pixels
    bool spanForwardAsRead_ = true;
    bool wasMinimized_ = false;
    QWindow* lastActiveWindow_ = nullptr;

    ChartView* chartView_;
    FileChooserPanel* fileChooser_;
    AboutBox* aboutBox_ = nullptr;
    // Made on the first print command: finding the printers takes a moment.
    std::unique_ptr<QtPrinter> printer_;
    std::unique_ptr<PrintDocument> printDocument_;
};
