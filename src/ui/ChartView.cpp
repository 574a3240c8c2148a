#include "ui/ChartView.h"

#include "render/Surface.h"

#include <QMouseEvent>
#include <QPainter>

#include <memory>

namespace nimbrel {

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

bool ChartView::imageFitsView() const {
    return !image_.isNull() && image_.devicePixelRatio() == devicePixelRatioF() &&
           image_.size() == size() * devicePixelRatioF();
}

namespace {

void releasePixels(void* pixels) {
    delete static_cast<std::shared_ptr<QRgb[]>*>(pixels);
}

} // namespace

QImage& ChartView::imageForDrawing() {
    if (imageFitsView()) return image_;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size().expandedTo(QSize(1, 1)) * ratio;
    const qsizetype count = qsizetype(pixels.width()) * pixels.height();
    image_ = QImage();
    // A resize reuses the pixels of the last image, unless a copy of it still shows them: new
    // pixels come as fresh pages, each faulted in as the pass first clears it.
    if (!pixels_ || pixels_.use_count() > 1 || pixelCapacity_ < count) {
        pixels_ = std::make_shared_for_overwrite<QRgb[]>(size_t(count));
        pixelCapacity_ = count;
    }
    image_ = QImage(reinterpret_cast<uchar*>(pixels_.get()), pixels.width(), pixels.height(),
                    qsizetype(pixels.width()) * qsizetype(sizeof(QRgb)), QImage::Format_RGB32,
                    releasePixels, new std::shared_ptr<QRgb[]>(pixels_));
    image_.setDevicePixelRatio(ratio);
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

} // namespace nimbrel
