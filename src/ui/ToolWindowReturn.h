#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

namespace nimbrel {

// Tells when the main window becomes the active window right after one of the program's own
// tool windows was: the version window, the read-out or the measuring window. Menus, pop-ups,
// drop-downs, message and input boxes are windows too, but passing through them and back is no
// return from a tool window.
class ToolWindowReturn final : public QObject {
    Q_OBJECT
public:
    explicit ToolWindowReturn(QWidget* mainWindow);

    static bool isToolWindow(const QWidget* window);

signals:
    void returned();

private:
    void focusWindowChanged(QWindow* now);

    QWidget* mainWindow_;
    // The program's window that was active last; none while another program's window is.
    QPointer<QWindow> lastActive_;
};

} // namespace nimbrel
