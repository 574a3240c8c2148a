#pragma once

#include <QImage>
#include <QWidget>

#include <memory>

namespace nimbrel {

// The client area: shows the chart image that the last drawing pass left. Painting never draws
// the chart; covering, uncovering and restoring the window show the kept image.
class ChartView final : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);

    // The image to draw the next pass into, at the view's size and pixel density; a new image
    // when the size changed, otherwise the kept one. A new image's pixels are undefined until
    // the pass clears them.
    QImage& imageForDrawing();
    bool imageFitsView() const;

    // Shows the part of the kept image in these twips, after a tool drew into it.
    void showTwips(const QRectF& twips);

signals:
    void resized();
    // The pointer over the chart (not over a panel on it), in twips of the client area.
    void pointerMoved(QPointF twips);
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF twips,
                 QPoint globalPosition);
    void pointerLeft();
    // The wheel over the chart: notches in eighths of a degree, or a trackpad's pixels.
    void wheelTurned(QPoint angleDelta, QPoint pixelDelta, Qt::KeyboardModifiers modifiers,
                     QPointF twips);
    // A drag with the middle button: where it started, then every move.
    void dragStarted(QPointF twips);
    void dragMoved(QPointF twips);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    std::shared_ptr<QRgb[]> pixels_; // the memory of image_, kept across resizes
    qsizetype pixelCapacity_ = 0;
    QImage image_;
};

} // namespace nimbrel
