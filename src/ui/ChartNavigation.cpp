#include "ui/ChartNavigation.h"

#include "chart/ViewOperations.h"
#include "tools/ToolTexts.h"
#include "ui/ChartTools.h"
#include "ui/MainWindow.h"

#include <QKeyEvent>

#include <algorithm>
#include <cmath>

namespace nimbrel {

namespace {

constexpr int kNotch = 120; // eighths of a degree: one notch of a wheel
// A notch with Ctrl shows this share of the days; a notch back the days it came from.
constexpr double kNotchScale = 0.8;

// A notch scrolls a thirtieth of the days shown: 4 of 120, never less than one.
int daysPerNotch(int shown) {
    return std::max(1, (shown + 15) / 30);
}

// The wheel's turn or a trackpad's move along the axis it moved most, with the sign of time:
// down or right is towards the newest day.
int towardsNewest(QPoint delta) {
    return std::abs(delta.x()) > std::abs(delta.y()) ? -delta.x() : -delta.y();
}

} // namespace

ChartNavigation::ChartNavigation(MainWindow& window, ChartTools& tools)
    : window_(window), tools_(tools) {}

void ChartNavigation::scrollBy(int days) {
    if (days == 0) return;
    window_.moveView([days](const PriceSeries& series, ViewState& view) {
        return scrollDays(series, view, days);
    });
}

void ChartNavigation::scaleDaysShown(double factor, int anchor) {
    const int shown = daysDrawn(window_.series().dataCount, window_.view());
    int count = static_cast<int>(std::lround(shown * factor));
    // A few days still change by one at a time.
    if (count == shown) count += factor < 1 ? -1 : 1;
    window_.moveView([count, anchor](const PriceSeries& series, ViewState& view) {
        return showDaysAround(series, view, count, anchor);
    });
}

void ChartNavigation::stepReadout(int days) {
    const std::optional<int> shownDay = tools_.readoutDay();
    if (!shownDay) {
        scrollBy(days);
        return;
    }
    const int dataCount = window_.series().dataCount;
    const int day = std::clamp(*shownDay + days, 1, dataCount);
    // The chart follows a day that leaves it.
    const ViewState& view = window_.view();
    if (day < view.firstDay) scrollBy(day - view.firstDay);
    if (day > lastDayOf(dataCount, view)) scrollBy(day - lastDayOf(dataCount, view));
    tools_.showReadoutDay(day);
}

bool ChartNavigation::keyPressed(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const PriceSeries& series = window_.series();
    const int shown = daysDrawn(series.dataCount, window_.view());
    const int newestShown = lastDayOf(series.dataCount, window_.view());
    auto show = [this](bool (*operation)(const PriceSeries&, ViewState&)) {
        window_.moveView(operation);
    };
    switch (event.key()) {
    case Qt::Key_Left:
        stepReadout(-1);
        break;
    case Qt::Key_Right:
        stepReadout(1);
        break;
    case Qt::Key_PageUp:
        scrollBy(-shown);
        break;
    case Qt::Key_PageDown:
        scrollBy(shown);
        break;
    case Qt::Key_Home:
        show(&showOldestDays);
        break;
    case Qt::Key_End:
        show(&showNewestOfDrawn);
        break;
    case Qt::Key_Plus:
        scaleDaysShown(0.75, newestShown);
        break;
    case Qt::Key_Minus:
        scaleDaysShown(4.0 / 3.0, newestShown);
        break;
    default:
        return false;
    }
    return true;
}

void ChartNavigation::wheelTurned(QPoint angleDelta, QPoint pixelDelta, bool withCtrl,
                                  QPointF twips) {
    if (window_.series().dataCount < 1) return;
    const int shown = daysDrawn(window_.series().dataCount, window_.view());
    if (withCtrl) {
        // Turned away from the user, the wheel brings the day under the pointer closer.
        zoomAngle_ += towardsNewest(angleDelta);
        const int notches = zoomAngle_ / kNotch;
        zoomAngle_ -= notches * kNotch;
        if (notches != 0)
            scaleDaysShown(std::pow(kNotchScale, -notches), dayAt(window_.layout(), twips.x()));
        return;
    }
    if (!pixelDelta.isNull()) {
        const double dayPixels = window_.layout().dayWidth / kTwipsPerPixel;
        if (dayPixels <= 0) return;
        wheelPixels_ += towardsNewest(pixelDelta);
        const int days = static_cast<int>(wheelPixels_ / dayPixels);
        wheelPixels_ -= days * dayPixels;
        scrollBy(days);
        return;
    }
    wheelAngle_ += towardsNewest(angleDelta);
    const int notches = wheelAngle_ / kNotch;
    wheelAngle_ -= notches * kNotch;
    scrollBy(notches * daysPerNotch(shown));
}

void ChartNavigation::dragStarted(QPointF twips) {
    dragFirstDay_ = window_.view().firstDay;
    dragX_ = twips.x();
    dragDayWidth_ = window_.layout().dayWidth;
}

void ChartNavigation::dragMoved(QPointF twips) {
    if (dragDayWidth_ <= 0 || window_.series().dataCount < 1) return;
    // Dragged right, the chart shows older days, as a sheet of paper pulled along would.
    const int days = static_cast<int>(std::lround((dragX_ - twips.x()) / dragDayWidth_));
    scrollBy(dragFirstDay_ + days - window_.view().firstDay);
}

} // namespace nimbrel
