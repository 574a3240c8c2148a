#include "ui/ChartTools.h"

#include "painter/ImageSurface.h"
#include "tools/MouseDispatch.h"
#include "tools/Readout.h"
#include "tools/ToolTexts.h"
#include "ui/AnalysisWindow.h"
#include "ui/AboutBox.h"
#include "ui/BusyPointer.h"
#include "ui/ChartView.h"
#include "ui/FileChooserPanel.h"
#include "ui/MainWindow.h"
#include "ui/MeasuringWindow.h"
#include "ui/ReadoutWindow.h"

#include <QLabel>
#include <QMenu>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace nimbrel {

namespace {

MouseButton mouseButton(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return MouseButton::Left;
    if (button == Qt::RightButton) return MouseButton::Right;
    return MouseButton::Middle;
}

} // namespace

ChartTools::ChartTools(MainWindow& window) : QObject(&window), window_(window) {}

ChartTools::~ChartTools() {
    // The tool windows go first, while the state they report their end to is still here.
    delete measuring_;
    delete readout_;
    delete timeMarks_;
    delete targets_;
}

AnalysisWindow* ChartTools::timeMarksWindow() const {
    return timeMarks_;
}

AnalysisWindow* ChartTools::targetsWindow() const {
    return targets_;
}

AnalysisWindow* ChartTools::analysisWindow(QPointer<AnalysisWindow>& window, const QString& title,
                                           int below) {
    if (!window) {
        window = new AnalysisWindow(title, &window_);
        placeToolWindow(window, below);
    }
    return window;
}

void ChartTools::showAnalysis(const ChartMarks& marks, const MarkedAnalysis& marked) {
    const PriceSeries& bars = window_.series();
    const Fixed4 unit = window_.view().decimalsUnit;
    if (marks.timeMarks.empty()) {
        delete timeMarks_;
    } else {
        AnalysisWindow* window = analysisWindow(timeMarks_, QStringLiteral("時間論"), 2);
        window->showLines(timeMarkLines(marks, bars));
        window->show();
    }
    if (!marked.targets) {
        delete targets_;
        return;
    }
    QStringList lines;
    const char* names[] = {"A", "B", "C"};
    for (size_t i = 0; i < 3; ++i) {
        const DatedPoint& point = (*marked.targets)[i];
        lines << QString::fromLatin1(names[i]) + QLatin1Char(' ') + priceText(point.price, unit) +
                     QStringLiteral("  (") + dateText(point.date) + QLatin1Char(')');
    }
    AnalysisWindow* window = analysisWindow(targets_, QStringLiteral("値幅観測"), 3);
    window->showLines(lines + targetLineTexts(marks, unit));
    window->show();
}

void ChartTools::pickPoint(int day, QPointF twips) {
    const Picking picking = picker_.picking();
    const double price = window_.layout().seriesPrices.priceAt(twips.y());
    if (const auto points = picker_.clicked(window_.series(), day, price))
        window_.analysisPicked(picking, *points);
}

ReadoutWindow* ChartTools::readoutWindow() const {
    return readout_;
}

MeasuringWindow* ChartTools::measuringWindow() const {
    return measuring_;
}

template <typename Draw> void ChartTools::drawOnChart(Draw draw) {
    ChartView* view = window_.chartView();
    if (!view->imageFitsView()) return;
    {
        ImageSurface surface(view->imageForDrawing());
        draw(surface);
    }
    view->update();
}

void ChartTools::chartRedrawn(OverlaySurface& surface, const ChartLayout& layout) {
    if (zoom_.state() == ZoomState::Band) zoom_.drawBand(surface);
    if (crosshairOn_ && layout.hasRange) {
        crosshair_.chartRedrawn(surface, layout, window_.view().decimalsUnit);
        showCrosshairPrice();
    }
}

void ChartTools::showCrosshairPrice() {
    const std::optional<CrosshairPrice> price = crosshair_.price();
    if (!price) {
        if (crosshairPrice_) crosshairPrice_->hide();
        return;
    }
    if (!crosshairPrice_) {
        // White on black over the grid's prices; the pointer goes through it to the chart.
        crosshairPrice_ = new QLabel(window_.chartView());
        crosshairPrice_->setObjectName(QStringLiteral("crosshairPrice"));
        crosshairPrice_->setAttribute(Qt::WA_TransparentForMouseEvents);
        crosshairPrice_->setAlignment(Qt::AlignCenter);
        crosshairPrice_->setAutoFillBackground(true);
        QPalette colours = crosshairPrice_->palette();
        colours.setColor(QPalette::Window, Qt::black);
        colours.setColor(QPalette::WindowText, Qt::white);
        crosshairPrice_->setPalette(colours);
    }
    QFont font(kChartFont);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(price->fontSize * 96 / 72))));
    crosshairPrice_->setFont(font);
    crosshairPrice_->setText(price->text);
    const QRectF& box = price->box;
    crosshairPrice_->setGeometry(
        QRectF(box.topLeft() / kTwipsPerPixel, box.size() / kTwipsPerPixel).toAlignedRect());
    crosshairPrice_->show();
}

// Only the lines' old and new places are shown again, not the whole chart.
void ChartTools::followWithCrosshair(QPointF twips) {
    ChartView* view = window_.chartView();
    if (!view->imageFitsView()) return;
    for (const QRectF& rect : crosshair_.area()) view->showTwips(rect);
    {
        ImageSurface surface(view->imageForDrawing());
        crosshair_.follow(surface, window_.layout(), window_.view().decimalsUnit, twips.x(),
                          twips.y());
    }
    for (const QRectF& rect : crosshair_.area()) view->showTwips(rect);
    showCrosshairPrice();
}

void ChartTools::setCrosshair(bool on) {
    crosshairOn_ = on;
    if (!on) pointerLeft();
}

void ChartTools::pointerLeft() {
    if (crosshair_.shown()) drawOnChart([&](OverlaySurface& surface) { crosshair_.hide(surface); });
    showCrosshairPrice();
}

std::optional<int> ChartTools::readoutDay() const {
    if (!readout_ || !readout_->isVisible()) return std::nullopt;
    return readout_->dayShown();
}

void ChartTools::showReadoutDay(int day) {
    if (readout_)
        readout_->showDay(day, readoutFields(window_.series(), day, window_.view().decimalsUnit));
}

void ChartTools::refreshReadout() {
    if (!readout_ || !readout_->isVisible()) return;
    readout_->activateWindow();
    showReadoutDay(readout_->dayShown());
}

void ChartTools::hideReadout() {
    if (readout_) readout_->hide();
}

// A new tool window stands beside the main window's right edge, where it covers no chart, or
// inside that edge when the screen has no room beside it; `below` windows further down. Keys
// pressed in it move the chart as in the main window.
void ChartTools::placeToolWindow(QWidget* tool, int below) const {
    tool->installEventFilter(&window_);
    const QRect frame = window_.frameGeometry();
    const QRect screen = window_.screen()->availableGeometry();
    const QSize size = tool->frameGeometry().size().expandedTo(tool->size());
    int x = frame.right() + 1;
    if (x + size.width() > screen.right()) x = frame.right() - size.width();
    const int y = window_.geometry().top() + below * (size.height() + 40);
    tool->move(std::max(x, screen.left()), std::min(y, screen.bottom() - size.height()));
}

void ChartTools::showReadout() {
    if (!readout_) {
        readout_ = new ReadoutWindow(&window_);
        placeToolWindow(readout_, 0);
    }
    readout_->show();
    readout_->raise();
    readout_->activateWindow();
}

void ChartTools::closeToolWindows() {
    if (window_.aboutBox()) window_.aboutBox()->hide();
    delete readout_;
    delete measuring_;
}

MeasuringWindow* ChartTools::measuringWindowMade() {
    if (!measuring_) {
        measuring_ = new MeasuringWindow(&window_);
        placeToolWindow(measuring_, 1);
        measuringTool_.windowCreated();
        // However the window goes, measuring ends with it.
        connect(measuring_, &QObject::destroyed, this, [this] { measuringTool_.windowClosed(); });
    }
    return measuring_;
}

void ChartTools::showMeasuring(bool raised) {
    MeasuringWindow* window = measuringWindowMade();
    window->showFields(measuringTool_.fields());
    window->show();
    if (raised) window->raise();
    window->activateWindow();
}

void ChartTools::armMeasuring() {
    // The window first: a new one starts from its initial texts, which arming then clears.
    measuringWindowMade();
    measuringTool_.arm();
    showMeasuring(true);
}

void ChartTools::startZoom() {
    zoom_.arm(window_.view_);
}

void ChartTools::popUpMenu(const char* name, QPoint globalPosition) {
    window_.findChild<QMenu*>(QString::fromLatin1(name))->popup(globalPosition);
}

void ChartTools::pointerMoved(QPointF twips) {
    if (crosshairOn_ && window_.series().dataCount > 0) followWithCrosshair(twips);
    const ToolStates states{window_.series().dataCount, zoom_.state(), measuringTool_.state(),
                            readout_ && readout_->isVisible(), picker_.picking()};
    switch (moveAction(states)) {
    case MoveAction::FollowZoomBand:
        drawOnChart(
            [&](OverlaySurface& surface) { zoom_.followPointer(surface, twips.x(), twips.y()); });
        break;
    case MoveAction::UpdateReadout:
        showReadoutDay(dayAt(window_.layout(), twips.x()));
        break;
    case MoveAction::UpdateMeasuring:
        measuringTool_.pointerMoved(window_.series(), dayAt(window_.layout(), twips.x()),
                                    window_.view().decimalsUnit);
        if (measuring_) measuring_->showFields(measuringTool_.fields());
        break;
    case MoveAction::None:
        break;
    }
}

void ChartTools::pointerPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                QPointF twips, QPoint globalPosition) {
    const bool onlyCtrl =
        (modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)) ==
        Qt::ControlModifier;
    const ToolStates states{window_.series().dataCount, zoom_.state(), measuringTool_.state(),
                            readout_ && readout_->isVisible(), picker_.picking()};
    const int day = dayAt(window_.layout(), twips.x());
    switch (pressAction(states, mouseButton(button), onlyCtrl)) {
    case PressAction::None:
        break;
    case PressAction::FirstZoomPoint:
        zoom_.startBand(day, twips.x(), twips.y());
        break;
    case PressAction::SecondZoomPoint: {
        BusyPointer busy;
        zoom_.apply(window_.series(), window_.view_, day);
        window_.redrawChart();
        break;
    }
    case PressAction::FirstMeasuringPoint:
        measuringTool_.clicked(day);
        showMeasuring(false);
        break;
    case PressAction::EndMeasuring:
        measuringTool_.clicked(day);
        if (measuring_) {
            measuring_->showFields(measuringTool_.fields());
            measuring_->hide();
        }
        break;
    case PressAction::AnalysisPoint:
        pickPoint(day, twips);
        break;
    case PressAction::ShowReadout:
        showReadout();
        showReadoutDay(day); // at once, not only once the pointer moves
        break;
    case PressAction::CancelZoom:
        drawOnChart([&](OverlaySurface& surface) { zoom_.cancel(surface); });
        break;
    case PressAction::FileMenu:
        if (window_.aboutBox()) window_.aboutBox()->hide();
        popUpMenu("fileMenu", globalPosition);
        break;
    case PressAction::FileMenuClosingTools:
        closeToolWindows();
        popUpMenu("fileMenu", globalPosition);
        break;
    case PressAction::OptionsMenu:
        window_.fileChooser()->hide();
        closeToolWindows();
        popUpMenu("optionsMenu", globalPosition);
        break;
    }
}

} // namespace nimbrel
