#pragma once

// moc of Qt 6.4 cannot read the C++20 library headers these bring in; it needs none of them.
#ifndef Q_MOC_RUN
#include "chart/ChartLayout.h"
#include "chart/ChartMarks.h"
#include "chart/ViewState.h"
#include "data/PriceSeries.h"
#include "options/OptionCommands.h"
#include "settings/UserSettings.h"
#include "tools/AnalysisPicker.h"
#endif

#include <QMainWindow>

#include <memory>

namespace nimbrel {

class AboutBox;
class ChartTools;
class ChartView;
class FileChooserPanel;
class InputBoxes;
class LaggingLinePanel;
class MeasuringTool;
class MeasuringWindow;
class MessageBoxes;
class PrintController;
class PrintDialogs;
class ReadoutWindow;
class SettingsStore;
class YAxisPanel;
class ZoomTool;

inline const QString kProgramTitle = QStringLiteral("Nimbrel(32)");

// The program: owns the price series, the view and the settings for the whole run, carries
// the menus and shows the chart in its client area.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(SettingsStore& store, MessageBoxes& messages, InputBoxes& inputs,
               PrintDialogs& printDialogs);
    ~MainWindow() override;

    // Shows the window in the state the settings left it in.
    void showAsSaved();
    // Opens a data file as a double-click in the file list does; the lists move to its folder.
    void openFile(const QString& path);

    // The program's operations on its own state.
    void redrawChart();
    void openDataFile();
    void initializeChart();

    // The bars shown: the loaded days, or weeks or months of them.
    const PriceSeries& series() const { return *series_; }
    const MarkedAnalysis& marked() const { return marked_; }
    const ViewState& view() const { return view_; }
    // The layout of the last pass that drew a chart on the window.
    const ChartLayout& layout() const { return layout_; }
    ChartView* chartView() const { return chartView_; }
    FileChooserPanel* fileChooser() const { return fileChooser_; }
    AboutBox* aboutBox() const { return aboutBox_; }
    ReadoutWindow* readoutWindow() const;
    MeasuringWindow* measuringWindow() const;
    LaggingLinePanel* laggingLinePanel() const { return laggingPanel_; }
    YAxisPanel* yAxisPanel() const { return yAxisPanel_; }
    const MeasuringTool& measuringTool() const;
    const ZoomTool& zoomTool() const;
    // A menu entry or submenu by its name.
    QAction* action(const char* name) const;
    bool wasMinimized() const { return wasMinimized_; }

    // The analysis tools: the points picked for a time mark or the price targets; the bars'
    // period; clearing the marks.
    void analysisPicked(Picking picking, const std::vector<PickedPoint>& points);
    void setBars(BarPeriod bars);
    void clearMarks();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class ChartTools; // the zoom chooses the days shown

    void createMenus();
    void tickBars();
    void createOptionPanels();
    void readSettings();
    void writeSettings();
    bool standsAsPlaced() const;
    void clientResized();
    void showVersionInfo();
    void showFileTitle(const QString& suffix = {});

    // The option commands: a command that asks in input boxes, then draws if it changed the
    // view.
    void runOption(OptionResult (*command)(const PriceSeries&, ViewState&, InputBoxes&));
    void askDecimals();
    void scanAndDraw();
    void printChart(SheetPart part);
    void askBasicNumbers();
    // The bars of the loaded days in the chosen period, their lines computed.
    void makeShownBars();
    // The marks of the analysis on the bars shown, on the chart and in the tool windows.
    void placeMarks();

    SettingsStore& store_;
    MessageBoxes& messages_;
    InputBoxes& inputs_;
    std::unique_ptr<PriceSeries> days_;
    std::unique_ptr<PriceSeries> series_;
    MarkedAnalysis marked_;
    ViewState view_;
    ChartLayout layout_;
    UserSettings settings_;
    QRect placedGeometry_; // where the saved twips put the window, in pixels
    bool spanForwardAsRead_ = true;
    bool wasMinimized_ = false;

    ChartView* chartView_;
    FileChooserPanel* fileChooser_;
    AboutBox* aboutBox_ = nullptr;
    LaggingLinePanel* laggingPanel_ = nullptr;
    YAxisPanel* yAxisPanel_ = nullptr;
    ChartTools* tools_ = nullptr;
    std::unique_ptr<PrintController> printing_;
};

} // namespace nimbrel
