#include "ui/ReadoutWindow.h"

#include "ui/TwipRect.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace nimbrel {

namespace {

constexpr int kFieldHeight = 255;

QLabel* caption(QWidget* parent, const QString& text, int x, int y, int width) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setGeometry(twipRect(x, y, width, kFieldHeight));
    return label;
}

QLabel* valueField(QWidget* parent, const char* name, int x, int y) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    // The values in the Japanese UI Gothic, right-aligned so that digits line up.
    QFont font(QStringLiteral("IPAGothic"));
    font.setPointSize(9);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setIndent(6); // a little room before the next column's caption
    label->setGeometry(twipRect(x, y, 1095, kFieldHeight));
    return label;
}

} // namespace

ReadoutWindow::ReadoutWindow(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      open_(valueField(this, "open", 600, 120)), high_(valueField(this, "high", 600, 360)),
      low_(valueField(this, "low", 600, 600)), close_(valueField(this, "close", 600, 840)),
      conversion_(valueField(this, "conversion", 2520, 120)),
      base_(valueField(this, "base", 2520, 360)), span1_(valueField(this, "span1", 2520, 600)),
      span2_(valueField(this, "span2", 2520, 840)),
      laggingFront_(valueField(this, "laggingFront", 2520, 1200)),
      laggingBack_(valueField(this, "laggingBack", 2520, 1440)) {
    setObjectName(QStringLiteral("ReadoutWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipRect(0, 0, 3720, 1692).size());
    caption(this, QStringLiteral("始値"), 120, 120, 480);
    caption(this, QStringLiteral("高値"), 120, 360, 480);
    caption(this, QStringLiteral("安値"), 120, 600, 480);
    caption(this, QStringLiteral("終値"), 120, 840, 480);
    caption(this, QStringLiteral("転換線"), 1680, 120, 840);
    caption(this, QStringLiteral("基準線"), 1680, 360, 840);
    caption(this, QStringLiteral("スパン１"), 1680, 600, 840);
    caption(this, QStringLiteral("スパン２"), 1680, 840, 840);
    for (const auto& [text, y] : {std::pair{QStringLiteral("遅行(前)"), 1200},
                                  std::pair{QStringLiteral("遅行(後)"), 1440}}) {
        QLabel* lagging = caption(this, text, 1680, y, 840);
        lagging->setAutoFillBackground(true);
        QPalette white = lagging->palette();
        white.setColor(QPalette::Window, Qt::white);
        lagging->setPalette(white);
    }
    setFields(ReadoutFields::initial());
}

void ReadoutWindow::showDay(int day, const ReadoutFields& fields) {
    dayShown_ = day;
    setFields(fields);
}

void ReadoutWindow::setFields(const ReadoutFields& fields) {
    fields_ = fields;
    setWindowTitle(fields.caption);
    open_->setText(fields.open);
    high_->setText(fields.high);
    low_->setText(fields.low);
    close_->setText(fields.close);
    conversion_->setText(fields.conversion);
    base_->setText(fields.base);
    span1_->setText(fields.span1);
    span2_->setText(fields.span2);
    laggingFront_->setText(fields.laggingFront);
    laggingBack_->setText(fields.laggingBack);
}

void ReadoutWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();
    hide();
}

void ReadoutWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // The line between the prices and lines above and the lagging closes below.
    QPainter painter(this);
    const int y = twipRect(0, 1080, 0, 0).top();
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, y, width(), y);
}

} // namespace nimbrel
