#pragma once

#include <QPoint>
#include <QPointF>

class QKeyEvent;

namespace nimbrel {

class ChartTools;
class MainWindow;

// Moving through time on the chart: the keys, the wheel and a drag with the middle button.
// Each move ends in the ordinary scan and draw of the days it shows.
class ChartNavigation {
public:
    ChartNavigation(MainWindow& window, ChartTools& tools);

    // ← → (the read-out's day when it is shown, else one day), Page Up / Page Down (the days
    // shown), Home / End (the oldest / newest days), + / − (fewer / more days, by a quarter,
    // around the newest day shown). False for any other key.
    bool keyPressed(const QKeyEvent& event);
    // The wheel scrolls a few days a notch, a trackpad as far as it moved; with Ctrl it shows
    // fewer or more days around the day under the pointer.
    void wheelTurned(QPoint angleDelta, QPoint pixelDelta, bool withCtrl, QPointF twips);
    // A drag with the middle button takes the days along with the pointer.
    void dragStarted(QPointF twips);
    void dragMoved(QPointF twips);

private:
    void stepReadout(int days);
    // The days shown scaled by `factor` around day `anchor`.
    void scaleDaysShown(double factor, int anchor);
    void scrollBy(int days);

    MainWindow& window_;
    ChartTools& tools_;
    int wheelAngle_ = 0;      // eighths of a degree not yet turned into days
    double wheelPixels_ = 0;  // a trackpad's pixels not yet a whole day
    int zoomAngle_ = 0;       // the same, with Ctrl
    int dragFirstDay_ = 0;    // the first day shown when the drag started
    double dragX_ = 0;        // where it started, in twips
    double dragDayWidth_ = 0; // the day slots' width then
};

} // namespace nimbrel
