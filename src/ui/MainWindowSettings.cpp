#include "ui/MainWindow.h"

#include "settings/UserSettings.h"
#include "ui/ChartTools.h"
#include "ui/FileChooserPanel.h"
#include "ui/FileWatch.h"
#include "ui/OptionPanels.h"
#include "ui/RecentFilesMenu.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

#include <cmath>

namespace nimbrel {

namespace {

int pixels(float twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

} // namespace

// The user's settings: read at the start, written back at the end.

void MainWindow::readSettings() {
    settings_ = loadSettings(store_);
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->geometry();
    settings_.window = placementOnScreens(settings_.window, screens);
    const WindowPlacement& window = settings_.window;
    move(pixels(window.left), pixels(window.top));
    resize(pixels(window.width), pixels(window.height));
    placedGeometry_ = QRect(pos(), size());

    view_.maxLength = settings_.maxLength;
    view_.decimalsUnit = settings_.decimalsUnit;
    view_.logY = settings_.logY;
    view_.spanForward = spanForwardAsRead_ = settings_.spanForward();
    view_.spanBack = settings_.spanBack;
    view_.bars = settings_.bars;
    tickBars();
    setCrosshair(settings_.crosshair);
    setReloadOnChange(settings_.reloadOnChange);
    recentFiles_->showFiles(settings_.recentFiles);
    yAxisPanel_->setLogarithmic(view_.logY);
    fileChooser_->setPattern(settings_.filePattern);
    fileChooser_->fileNameBox()->setText(settings_.filePattern);
    fileChooser_->setSheetName(settings_.sheetName);
    wasMinimized_ = false;
}

void MainWindow::showAsSaved() {
    switch (settings_.window.state) {
    case WindowState::Minimized:
        showMinimized();
        break;
    case WindowState::Maximized:
        showMaximized();
        break;
    default:
        show();
        break;
    }
}

void MainWindow::writeSettings() {
    WindowPlacement& window = settings_.window;
    const bool asPlaced = standsAsPlaced();
    window.state = isMinimized()   ? WindowState::Minimized
                   : isMaximized() ? WindowState::Maximized
                                   : WindowState::Normal;
    if (!asPlaced) {
        window.left = static_cast<float>(pos().x() * kTwipsPerPixel);
        window.top = static_cast<float>(pos().y() * kTwipsPerPixel);
        window.width = static_cast<float>(width() * kTwipsPerPixel);
        window.height = static_cast<float>(height() * kTwipsPerPixel);
    }
    if (view_.spanForward != spanForwardAsRead_) settings_.setSpanForward(view_.spanForward);
    settings_.spanBack = view_.spanBack;
    settings_.maxLength = view_.maxLength;
    settings_.decimalsUnit = view_.decimalsUnit;
    settings_.logY = view_.logY;
    settings_.bars = view_.bars;
    settings_.crosshair = tools_->crosshairOn();
    settings_.reloadOnChange = fileWatch_->enabled();
    settings_.filePattern = fileChooser_->pattern();
    settings_.sheetName = fileChooser_->sheetName();
    saveSettings(store_, settings_);
}

bool MainWindow::standsAsPlaced() const {
    // Twips that are no whole pixel (50 is 3.33) stay as read while the window stands where
    // they put it. A minimised window keeps its normal place in pos() and size(); a maximised
    // one stores its maximised place unless it was read maximised and its normal place is
    // still the one read.
    if (isMaximized())
        return settings_.window.state == WindowState::Maximized &&
               normalGeometry() == placedGeometry_;
    return QRect(pos(), size()) == placedGeometry_;
}

} // namespace nimbrel
