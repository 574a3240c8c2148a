#pragma once

// moc of Qt 6.4 cannot read the C++20 library headers these bring in; it needs none of them.
#ifndef Q_MOC_RUN
#include "chart/ChartLayout.h"
#include "chart/ViewState.h"
#include "data/PriceSeries.h"
#include "options/OptionCommands.h"
#include "options/ZoomTool.h"
#include "settings/UserSettings.h"
#include "tools/MeasuringTool.h"
#endif

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QMenu;

namespace nimbrel {

class AboutBox;
class ChartView;
class FileChooserPanel;
class InputBoxes;
class LaggingLinePanel;
class MeasuringWindow;
class MessageBoxes;
class PrintDialogs;
class PrintDocument;
class QtPrinter;
class ReadoutWindow;
class SettingsStore;
class YAxisPanel;

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

    const PriceSeries& series() const { return *series_; }
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
    // The measuring state (higaraFlg) and the zoom's.
    MeasureState higaraFlg() const { return measuringTool_.state(); }
    const MeasuringTool& measuringTool() const { return measuringTool_; }
    const ZoomTool& zoomTool() const { return zoom_; }
    QAction* action(const char* name) const;
    bool wasMinimized() const { return wasMinimized_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createMenus();
    void applySettings();
    void writeSettings();
    void clientResized();
    void showVersionInfo();
    bool standsAsPlaced() const;

    // The mouse over the chart, handed to the zoom, the measuring tool, the read-out window
    // and the context menus in that order.
    void pointerMoved(QPointF twips);
    void pointerPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF twips,
                        QPoint globalPosition);
    void showReadoutDay(int day);
    void showReadout();
    void placeToolWindow(QWidget* tool, int below) const;
    void closeToolWindows();
    MeasuringWindow* measuringWindowMade();
    void armMeasuring();
    void startZoom();
    // Draws into the kept chart image and shows the part that changed.
    template <typename Draw> void drawOnChart(Draw draw);

    // The option commands: a command that asks in input boxes, then draws if it changed the
    // view.
    void runOption(OptionResult (*command)(const PriceSeries&, ViewState&, InputBoxes&));
    void askDecimals();
    void createOptionPanels();
    void scanAndDraw();
    void setUpPage();
    void printChart(SheetPart part);
    PrintDocument& printDocument();

    SettingsStore& store_;
    MessageBoxes& messages_;
    InputBoxes& inputs_;
    PrintDialogs& printDialogs_;
    std::unique_ptr<PriceSeries> series_;
    ViewState view_;
    ChartLayout layout_;
    UserSettings settings_;
    QRect placedGeometry_; // where the saved twips put the window, in pixels
    bool spanForwardAsRead_ = true;
    bool wasMinimized_ = false;

    ChartView* chartView_;
    FileChooserPanel* fileChooser_;
    AboutBox* aboutBox_ = nullptr;
    QPointer<ReadoutWindow> readout_;
    QPointer<MeasuringWindow> measuring_;
    LaggingLinePanel* laggingPanel_ = nullptr;
    YAxisPanel* yAxisPanel_ = nullptr;
    MeasuringTool measuringTool_;
    ZoomTool zoom_;
    // Made on the first print command: finding the printers takes a moment.
    std::unique_ptr<QtPrinter> printer_;
    std::unique_ptr<PrintDocument> printDocument_;
};

} // namespace nimbrel
