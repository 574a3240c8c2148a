#include "tools/Crosshair.h"

#include "chart/ChartTexts.h"
#include "tools/ToolTexts.h"

#include <algorithm>

namespace nimbrel {

namespace {

constexpr double kPriceMargin = 30; // twips around the price: two pixels of the screen

} // namespace

void Crosshair::draw(OverlaySurface& surface, const Lines& lines) {
    surface.setDrawMode(DrawMode::Invert);
    surface.setPenStyle(PenStyle::Solid);
    surface.setPenWidth(1);
    surface.setPenColor(Rgb{255, 255, 255});
    surface.line(lines.x, lines.top, lines.x, lines.bottom);
    surface.line(lines.left, lines.y, lines.right, lines.y);
    surface.setDrawMode(DrawMode::Copy);
}

void Crosshair::follow(OverlaySurface& surface, const ChartLayout& layout, Fixed4 decimalsUnit,
                       double x, double y) {
    pointer_ = {x, y};
    erase(surface);
    const PlotFrame& frame = layout.frame;
    const int day = dayAt(layout, x);
    const bool onPlot = layout.hasRange && x >= frame.left && x <= frame.right && y >= frame.top &&
                        y <= frame.bottom() && day >= layout.firstDay &&
                        day <= layout.lastDay + kLeadSlots;
    if (!onPlot) return;
    Lines lines;
    lines.x = layout.days.x(day);
    lines.y = y;
    lines.left = frame.left;
    lines.right = frame.right;
    lines.top = frame.top;
    lines.bottom = frame.bottom();
    CrosshairPrice& price = lines.price;
    price.text = priceText(layout.seriesPrices.priceAt(y), decimalsUnit);
    price.fontSize = layout.labelFontSize;
    surface.setFont(kChartFont, price.fontSize);
    const double width = surface.textWidth(price.text) + 2 * kPriceMargin;
    const double height = surface.textHeight(price.text) + 2 * kPriceMargin;
    // A price wider than the grid labels' room reaches into the plot rather than off the window.
    price.box = QRectF(std::max(frame.left - width, 0.0), y - height / 2, width, height);
    draw(surface, lines);
    drawn_ = std::move(lines);
}

std::optional<CrosshairPrice> Crosshair::price() const {
    if (!drawn_) return std::nullopt;
    return drawn_->price;
}

std::vector<QRectF> Crosshair::area() const {
    if (!drawn_) return {};
    const Lines& lines = *drawn_;
    return {QRectF(QPointF(lines.x, lines.top), QPointF(lines.x, lines.bottom)),
            QRectF(QPointF(lines.left, lines.y), QPointF(lines.right, lines.y))};
}

void Crosshair::erase(OverlaySurface& surface) {
    if (drawn_) draw(surface, *drawn_);
    drawn_.reset();
}

void Crosshair::hide(OverlaySurface& surface) {
    erase(surface);
    pointer_.reset();
}

void Crosshair::chartRedrawn(OverlaySurface& surface, const ChartLayout& layout,
                             Fixed4 decimalsUnit) {
    drawn_.reset();
    if (pointer_) follow(surface, layout, decimalsUnit, pointer_->first, pointer_->second);
}

} // namespace nimbrel
