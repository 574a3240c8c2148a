#include "ui/MeasuringWindow.h"

#include "ui/TwipRect.h"

#include <QLabel>
#include <QMouseEvent>

namespace nimbrel {

namespace {

constexpr int kRowHeight = 252;

QLabel* caption(QWidget* parent, const QString& text, int x, int y, int width,
                Qt::Alignment alignment = Qt::AlignLeft) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setGeometry(twipRect(x, y, width, kRowHeight));
    return label;
}

QLabel* field(QWidget* parent, const char* name, int x, int y, int width, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setAutoFillBackground(true);
    label->setGeometry(twipRect(x, y, width, kRowHeight));
    return label;
}

void showField(QLabel* label, const MeasureField& field) {
    label->setText(field.text);
    QColor shade = Qt::white;
    if (field.shade == FieldShade::ButtonFace) shade = label->palette().color(QPalette::Button);
    if (field.shade == FieldShade::LightGrey) shade = QColor(192, 192, 192);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, shade);
    label->setPalette(palette);
}

} // namespace

MeasuringWindow::MeasuringWindow(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      from_(field(this, "from", 720, 120, 972, Qt::AlignHCenter)),
      to_(field(this, "to", 720, 480, 972, Qt::AlignHCenter)),
      dayCount_(field(this, "dayCount", 2280, 480, 732, Qt::AlignHCenter)),
      priceRange_(field(this, "priceRange", 720, 840, 1212, Qt::AlignRight)),
      percent_(field(this, "percent", 720, 1200, 1212, Qt::AlignRight)) {
    setObjectName(QStringLiteral("MeasuringWindow"));
    setWindowTitle(QStringLiteral("日柄測定"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipRect(0, 0, 3264, 1572).size());
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    caption(this, QStringLiteral("From"), 120, 120, 615);
    caption(this, QStringLiteral("To"), 120, 480, 615);
    caption(this, QStringLiteral("日柄"), 1800, 480, 480);
    caption(this, QStringLiteral("日"), 3000, 480, 264, Qt::AlignHCenter);
    caption(this, QStringLiteral("値幅"), 120, 840, 615);
    caption(this, QStringLiteral("円"), 2040, 840, 480);
    caption(this, QStringLiteral("％"), 2040, 1200, 480);
    showFields(MeasuringFields::initial());
}

void MeasuringWindow::showFields(const MeasuringFields& fields) {
    showField(from_, fields.from);
    showField(to_, fields.to);
    showField(dayCount_, fields.dayCount);
    showField(priceRange_, fields.priceRange);
    showField(percent_, fields.percent);
}

void MeasuringWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();
    hide();
}

} // namespace nimbrel
