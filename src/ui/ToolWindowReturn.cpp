#include "ui/ToolWindowReturn.h"

#include "ui/AboutBox.h"
#include "ui/MeasuringWindow.h"
#include "ui/ReadoutWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace nimbrel {

namespace {

const QWidget* widgetOf(const QWindow* window) {
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowHandle() == window) return widget;
    return nullptr;
}

} // namespace

ToolWindowReturn::ToolWindowReturn(QWidget* mainWindow)
    : QObject(mainWindow), mainWindow_(mainWindow) {
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
            &ToolWindowReturn::focusWindowChanged);
}

bool ToolWindowReturn::isToolWindow(const QWidget* window) {
    return window && window->isWindow() &&
           (qobject_cast<const AboutBox*>(window) || qobject_cast<const ReadoutWindow*>(window) ||
            qobject_cast<const MeasuringWindow*>(window));
}

void ToolWindowReturn::focusWindowChanged(QWindow* now) {
    // Another program's window in between (no focus window here) does not count: what the
    // main window comes back from is the program's window that was active before it.
    if (!now) return;
    const bool fromToolWindow = lastActive_ && isToolWindow(widgetOf(lastActive_));
    lastActive_ = now;
    if (now == mainWindow_->windowHandle() && fromToolWindow) emit returned();
}

} // namespace nimbrel
