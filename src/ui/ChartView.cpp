#include "ui/ChartView.h"

#include "platform/ImageSurface.h"

#include "platform/Surface.h"

#include <QMouseEvent>
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

void ChartView::showTwips(const QRectF& twips) {
    const QRectF pixels(twips.topLeft() / kTwipsPerPixel, twips.size() / kTwipsPerPixel);
    update(pixels.normalized().toAlignedRect().adjusted(-2, -2, 2, 2));
}

namespace {

QPointF twipsOf(const QMouseEvent* event) {
    return event->position() * kTwipsPerPixel;
}

} // namespace

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    // Over a panel the pointer is the panel's, not the chart's.
    if (childAt(event->position().toPoint())) return;
    emit pointerMoved(twipsOf(event));
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (childAt(event->position().toPoint())) return;
    emit pressed(event->button(), event->modifiers(), twipsOf(event),
                 event->globalPosition().toPoint());
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}
