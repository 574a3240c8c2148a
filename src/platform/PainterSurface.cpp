#include "platform/PainterSurface.h"

#include <algorithm>
#include <cmath>

void registerChartFonts() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
}

void PainterSurface::begin(QPainter& painter, double widthTwips, double heightTwips,
                           double unitsPerInch, double penScale, QColor background) {
    painter_ = &painter;
    widthTwips_ = widthTwips;
    heightTwips_ = heightTwips;
    unitsPerInch_ = unitsPerInch;
    unitsPerTwip_ = unitsPerInch / kTwipsPerInch;
    penScale_ = penScale;
    background_ = background;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    applyPen();
}

void PainterSurface::clear() {
    painter_->fillRect(QRectF(0, 0, toDevice(widthTwips_), toDevice(heightTwips_)), background_);
}

void PainterSurface::setPenColor(Rgb color) {
    penColor_ = QColor(color.red, color.green, color.blue);
    applyPen();
}

void PainterSurface::setPenWidth(int pixels) {
    penWidth_ = std::max(pixels, 1);
    applyPen();
}

void PainterSurface::setPenStyle(PenStyle style) {
    switch (style) {
    case PenStyle::Solid:
        penStyle_ = Qt::SolidLine;
        break;
    case PenStyle::Dashed:
        penStyle_ = Qt::DashLine;
        break;
    case PenStyle::Dotted:
        penStyle_ = Qt::DotLine;
        break;
    }
    applyPen();
}

void PainterSurface::setDrawMode(DrawMode mode) {
    painter_->setCompositionMode(mode == DrawMode::Invert ? QPainter::RasterOp_SourceXorDestination
                                                          : QPainter::CompositionMode_SourceOver);
}

// Pen widths are pixels of a 96 dpi screen, so a line keeps its weight on any device.
double PainterSurface::penPixels() const {
    return std::max(1.0, std::round(penWidth_ * penScale_));
}

void PainterSurface::applyPen() {
    QPen pen(penColor_, penPixels(), penStyle_, Qt::FlatCap);
    pen.setCosmetic(true);
    painter_->setPen(pen);
}

void PainterSurface::line(double x1, double y1, double x2, double y2) {
    painter_->drawLine(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)));
}

void PainterSurface::box(double x1, double y1, double x2, double y2, Rgb color, BoxFill fill) {
    const QColor qcolor(color.red, color.green, color.blue);
    const QRectF rect =
        QRectF(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)))
            .normalized();
    if (fill == BoxFill::Filled) {
        painter_->fillRect(rect, qcolor);
        return;
    }
    const QPen saved = painter_->pen();
    QPen outline(qcolor, penPixels());
    outline.setCosmetic(true);
    painter_->setPen(outline);
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(rect);
    painter_->setPen(saved);
}

void PainterSurface::setFont(const QString& name, double points) {
    // Fonts come in whole device pixels; the size in effect is the one those pixels make.
    const double clamped = std::clamp(points, 0.0, 1000.0); // beyond any page
    const int pixels = std::max(1, static_cast<int>(std::lround(clamped * unitsPerInch_ / 72)));
    if (font_.family() != name || font_.pixelSize() != pixels || !metrics_) {
        font_.setFamily(name);
        font_.setPixelSize(pixels);
        font_.setStyleStrategy(QFont::NoAntialias);
        metrics_.emplace(font_, painter_->device());
    }
    fontPoints_ = pixels * 72 / unitsPerInch_;
    painter_->setFont(font_);
}

double PainterSurface::textWidth(const QString& text) const {
    return metrics_ ? metrics_->horizontalAdvance(text) / unitsPerTwip_ : 0;
}

double PainterSurface::textHeight(const QString&) const {
    return metrics_ ? metrics_->height() / unitsPerTwip_ : 0;
}

void PainterSurface::printText(double x, double y, const QString& text) {
    if (!metrics_) return;
    painter_->setPen(QPen(penColor_));
    painter_->drawText(QPointF(toDevice(x), toDevice(y) + metrics_->ascent()), text);
    applyPen();
}
