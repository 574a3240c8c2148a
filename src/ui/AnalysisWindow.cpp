#include "ui/AnalysisWindow.h"

#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace nimbrel {

AnalysisWindow::AnalysisWindow(const QString& title, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      text_(new QLabel(this)) {
    setObjectName(QStringLiteral("AnalysisWindow"));
    setWindowTitle(title);
    // The figures in the Gothic of the read-out, so that columns of digits line up.
    QFont font(QStringLiteral("IPAGothic"));
    font.setPointSize(9);
    text_->setFont(font);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
}

void AnalysisWindow::showLines(const QStringList& lines) {
    lines_ = lines;
    text_->setText(lines.join(QLatin1Char('\n')));
    adjustSize();
}

void AnalysisWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();
    hide();
}

} // namespace nimbrel
