#include "ui/AboutBox.h"

#include "ui/TwipRect.h"

#include <QIcon>
#include <QLabel>
#include <QHideEvent>
#include <QMouseEvent>
#include <QPushButton>

namespace nimbrel {

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      picture1_(new QLabel(this)), label1_(new QLabel(this)),
      command1_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(false);
    setFixedSize(twipRect(0, 0, 7260, 2736).size());
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(twipRect(480, 360, 372, 372));
    picture1_->setPixmap(QIcon(QStringLiteral(":/nimbrel.png")).pixmap(picture1_->size()));
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(twipRect(1320, 360, 4812, 372));
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(twipRect(6240, 240, 852, 492));
    connect(command1_, &QPushButton::clicked, this, &QWidget::hide);
}

void AboutBox::showVersion() {
    // A dialog centres itself on its parent each time it is shown unless it was placed: placed
    // where it was hidden, it comes back where the user left it.
    if (hiddenAt_ && !isVisible()) move(*hiddenAt_);
    show();
    raise();
    activateWindow();
    label1_->setText(kVersionLine);
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    hide();
}

void AboutBox::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    hiddenAt_ = pos();
}

} // namespace nimbrel
