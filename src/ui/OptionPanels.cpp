#include "ui/OptionPanels.h"

#include "ui/TwipRect.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

namespace nimbrel {

namespace {

void setUpPanel(QFrame* panel, const char* name, const QString& title, int width, int height,
                int titleWidth) {
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);
    panel->setGeometry(twipRect(840, 0, width, height));
    auto* label = new QLabel(title, panel);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setGeometry(twipRect(120, 120, titleWidth, 252));
    panel->hide();
}

QPushButton* button(QWidget* panel, const QString& text, int x, int y) {
    auto* pushButton = new QPushButton(text, panel);
    pushButton->setGeometry(twipRect(x, y, 852, 372));
    return pushButton;
}

// A right click on the background hides the panel; no click on it reaches the chart below.
void pressOnPanel(QWidget* panel, QMouseEvent* event) {
    if (event->button() == Qt::RightButton) panel->hide();
    event->accept();
}

bool isInside(const QWidget* widget, const QWidget* panel) {
    return widget && (widget == panel || panel->isAncestorOf(widget));
}

} // namespace

LaggingLinePanel::LaggingLinePanel(QWidget* parent)
    : QFrame(parent), forward_(new QCheckBox(QStringLiteral("前(先行)"), this)),
      back_(new QCheckBox(QStringLiteral("後(遅行)"), this)),
      execute_(button(this, QStringLiteral("実行"), 1800, 480)),
      cancel_(button(this, QStringLiteral("取消"), 1800, 1080)) {
    setUpPanel(this, "LaggingLinePanel", QStringLiteral("遅行線の設定"), 3015, 1695, 1572);
    forward_->setObjectName(QStringLiteral("forwardBox"));
    forward_->setGeometry(twipRect(240, 600, 1215, 270));
    forward_->setChecked(true);
    back_->setObjectName(QStringLiteral("backBox"));
    back_->setGeometry(twipRect(240, 1080, 1215, 270));
    connect(forward_, &QCheckBox::clicked, this, &LaggingLinePanel::forwardClicked);
    connect(back_, &QCheckBox::clicked, this, &LaggingLinePanel::backClicked);
    connect(execute_, &QPushButton::clicked, this, [this] {
        hide();
        emit executed(forward_->isChecked(), back_->isChecked());
    });
    connect(cancel_, &QPushButton::clicked, this, &QWidget::hide);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (isInside(now, this) && !isInside(old, this)) emit focusEntered();
    });
}

void LaggingLinePanel::showPanel() {
    show();
    raise();
}

void LaggingLinePanel::setBoxes(bool forward, bool back) {
    forward_->setChecked(forward);
    back_->setChecked(back);
}

void LaggingLinePanel::mousePressEvent(QMouseEvent* event) {
    pressOnPanel(this, event);
}

YAxisPanel::YAxisPanel(QWidget* parent)
    : QFrame(parent), normal_(new QRadioButton(QStringLiteral("ノーマル"), this)),
      log_(new QRadioButton(QStringLiteral("対数"), this)),
      execute_(button(this, QStringLiteral("実行"), 1680, 360)),
      cancel_(button(this, QStringLiteral("取消"), 1680, 840)) {
    setUpPanel(this, "YAxisPanel", QStringLiteral("Y 軸対数設定"), 2772, 1452, 1452);
    normal_->setObjectName(QStringLiteral("normalAxisButton"));
    normal_->setGeometry(twipRect(240, 480, 1212, 264));
    normal_->setChecked(true);
    log_->setObjectName(QStringLiteral("logAxisButton"));
    log_->setGeometry(twipRect(240, 840, 1212, 264));
    auto* group = new QButtonGroup(this);
    group->addButton(normal_);
    group->addButton(log_);
    normal_->installEventFilter(this);
    log_->installEventFilter(this);
    connect(normal_, &QRadioButton::clicked, this, [this] { emit axisClicked(false); });
    connect(log_, &QRadioButton::clicked, this, [this] { emit axisClicked(true); });
    connect(execute_, &QPushButton::clicked, this, [this] {
        hide();
        emit executed();
    });
    connect(cancel_, &QPushButton::clicked, this, &QWidget::hide);
}

void YAxisPanel::showPanel() {
    show();
    raise();
}

void YAxisPanel::setLogarithmic(bool logarithmic) {
    (logarithmic ? log_ : normal_)->setChecked(true);
}

bool YAxisPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        (watched == normal_ || watched == log_)) {
        const bool logarithmic = watched == log_;
        setLogarithmic(logarithmic);
        hide();
        emit axisChosen(logarithmic);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void YAxisPanel::mousePressEvent(QMouseEvent* event) {
    pressOnPanel(this, event);
}

} // namespace nimbrel
