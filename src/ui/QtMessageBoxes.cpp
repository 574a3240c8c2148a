#include "ui/QtMessageBoxes.h"

#include <QGuiApplication>
#include <QList>
#include <QMessageBox>

namespace nimbrel {

namespace {

// A box waits for the user: whatever busy pointer the command that shows it has set gives way
// to the normal pointer while the box is up, and comes back for the rest of the command.
class NormalPointerWhileWaiting {
public:
    NormalPointerWhileWaiting() {
        while (const QCursor* cursor = QGuiApplication::overrideCursor()) {
            taken_.prepend(*cursor);
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ~NormalPointerWhileWaiting() {
        for (const QCursor& cursor : taken_) QGuiApplication::setOverrideCursor(cursor);
    }
    NormalPointerWhileWaiting(const NormalPointerWhileWaiting&) = delete;
    NormalPointerWhileWaiting& operator=(const NormalPointerWhileWaiting&) = delete;

private:
    QList<QCursor> taken_;
};

} // namespace

void QtMessageBoxes::showMessage(QWidget* parent, const Message& message) {
    NormalPointerWhileWaiting normalPointer;
    QMessageBox box(message.icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                             : QMessageBox::Information,
                    message.title, message.text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace nimbrel
