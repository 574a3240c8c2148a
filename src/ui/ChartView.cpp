#include "ui/ChartView.h"

#include "platform/ImageSurface.h"

#include <QPainter>

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

bool ChartView::imageFitsView() const {
    return !image_.isNull() && image_.devicePixelRatio() == devicePixelRatioF() &&
           image_.size() == size() * devicePixelRatioF();
}

QImage& ChartView::imageForDrawing() {
    if (!imageFitsView()) image_ = chartImage(size().expandedTo(QSize(1, 1)), devicePixelRatioF());
    return image_;
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!imageFitsView()) painter.fillRect(rect(), Qt::white); // until the next pass
    if (!image_.isNull()) painter.drawImage(QPoint(0, 0), image_);
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}
