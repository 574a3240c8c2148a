#include "ui/AboutBox.h"

#include "system/ProgramVersion.h"
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
      icon_(new QLabel(this)), productLine_(new QLabel(this)),
      okButton_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(false);
    setFixedSize(twipRect(0, 0, 7260, 2736).size());
    icon_->setObjectName(QStringLiteral("icon"));
    icon_->setGeometry(twipRect(480, 360, 372, 372));
    icon_->setPixmap(QIcon(QStringLiteral(":/nimbrel.png")).pixmap(icon_->size()));
    productLine_->setObjectName(QStringLiteral("productLine"));
    productLine_->setGeometry(twipRect(1320, 360, 4812, 372));
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setGeometry(twipRect(6240, 240, 852, 492));
    connect(okButton_, &QPushButton::clicked, this, &QWidget::hide);
}

void AboutBox::showVersion() {
    // A dialog centres itself on its parent each time it is shown unless it was placed: placed
    // where it was hidden, it comes back where the user left it.
    if (hiddenAt_ && !isVisible()) move(*hiddenAt_);
    show();
    raise();
    activateWindow();
    productLine_->setText(kVersionLine);
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
