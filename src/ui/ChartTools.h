#pragma once

// moc of Qt 6.4 cannot read the C++20 library headers these bring in; it needs none of them.
#ifndef Q_MOC_RUN
#include "chart/ChartMarks.h"
#include "options/ZoomTool.h"
#include "tools/AnalysisPicker.h"
#include "tools/Crosshair.h"
#include "tools/MeasuringTool.h"
#endif

#include <QObject>
#include <QPoint>
#include <QPointer>

class QLabel;

namespace nimbrel {

class AnalysisWindow;
class MainWindow;
class MeasuringWindow;
class ReadoutWindow;
class OverlaySurface;

// The mouse over the chart, handed to the zoom, the measuring tool, the read-out window and
// the context menus in that order, and the tool windows it shows.
class ChartTools final : public QObject {
    Q_OBJECT
public:
    explicit ChartTools(MainWindow& window);
    ~ChartTools() override;

    void pointerMoved(QPointF twips);
    void pointerLeft();
    void pointerPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF twips,
                        QPoint globalPosition);

    // 日柄測定 and ズーム from the menu.
    void armMeasuring();
    void startZoom();
    // 基本数値, 対等数値 and 値幅観測: the next clicks pick their points. Esc gives it up.
    void armPicking(Picking what) { picker_.arm(what); }
    void cancelPicking() { picker_.cancel(); }
    // The tool windows list the marks on the chart; without marks they go.
    void showAnalysis(const ChartMarks& marks, const MarkedAnalysis& marked);
    // グラフ初期化 forgets a zoom's first point.
    void forgetZoomPoint() { zoom_.forgetFirstPoint(); }
    // A new chart image: a band under way and the crosshair are drawn again, so that the next
    // move erases them.
    void chartRedrawn(OverlaySurface& surface, const ChartLayout& layout);
    // 十字線 on or off.
    void setCrosshair(bool on);
    bool crosshairOn() const { return crosshairOn_; }
    const Crosshair& crosshair() const { return crosshair_; }
    // The read-out shows its day again, after the number of decimals changed.
    void refreshReadout();
    void hideReadout();
    // The day the read-out shows, while it is shown.
    std::optional<int> readoutDay() const;
    void showReadoutDay(int day);
    // The right-click paths and the end of the program: the read-out and measuring windows go.
    void closeToolWindows();

    ReadoutWindow* readoutWindow() const;
    MeasuringWindow* measuringWindow() const;
    const MeasuringTool& measuringTool() const { return measuringTool_; }
    const ZoomTool& zoomTool() const { return zoom_; }
    const AnalysisPicker& picker() const { return picker_; }
    AnalysisWindow* timeMarksWindow() const;
    AnalysisWindow* targetsWindow() const;

private:
    void showReadout();
    void placeToolWindow(QWidget* tool, int below) const;
    MeasuringWindow* measuringWindowMade();
    void showMeasuring(bool raised);
    void popUpMenu(const char* name, QPoint globalPosition);
    void pickPoint(int day, QPointF twips);
    void followWithCrosshair(QPointF twips);
    // The price box beside the plot stands where the crosshair's line across is, or goes.
    void showCrosshairPrice();
    AnalysisWindow* analysisWindow(QPointer<AnalysisWindow>& window, const QString& title,
                                   int below);
    // Draws into the kept chart image and shows the part that changed.
    template <typename Draw> void drawOnChart(Draw draw);

    MainWindow& window_;
    QPointer<ReadoutWindow> readout_;
    QPointer<MeasuringWindow> measuring_;
    QPointer<AnalysisWindow> timeMarks_;
    QPointer<AnalysisWindow> targets_;
    MeasuringTool measuringTool_;
    ZoomTool zoom_;
    AnalysisPicker picker_;
    Crosshair crosshair_;
    bool crosshairOn_ = false;
    QLabel* crosshairPrice_ = nullptr;
};

} // namespace nimbrel
