#include "platform/QtMessageBoxes.h"

#include <QMessageBox>

void QtMessageBoxes::showMessage(QWidget* parent, const Message& message) {
    QMessageBox box(message.icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                             : QMessageBox::Information,
                    message.title, message.text, QMessageBox::Ok, parent);
    box.exec();
}
