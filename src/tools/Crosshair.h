#pragma once

#include "chart/ChartLayout.h"
#include "render/Surface.h"

#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace nimbrel {

// The price at the crosshair's line across, and the box it stands in (twips): right-aligned at
// the plot's left edge, where the grid's prices stand.
struct CrosshairPrice {
    QString text;
    QRectF box;
    double fontSize = 0;
};

// 十字線: a line down the slot under the pointer and one across at the pointer. The lines are
// drawn by inverting the chart image, so that drawing them again erases them and the chart is
// never drawn anew for them; the price there is shown beside the plot.
class Crosshair {
public:
    // The pointer at (x, y) in twips: the lines move there; off the plot they go.
    void follow(OverlaySurface& surface, const ChartLayout& layout, Fixed4 decimalsUnit, double x,
                double y);
    // The pointer left the chart, or the crosshair was switched off: the lines go.
    void hide(OverlaySurface& surface);
    // A new chart image, which does not hold the lines: they are drawn at the pointer again.
    void chartRedrawn(OverlaySurface& surface, const ChartLayout& layout, Fixed4 decimalsUnit);

    bool shown() const { return drawn_.has_value(); }
    std::optional<CrosshairPrice> price() const;
    // Where the lines stand (twips), to show again after a move.
    std::vector<QRectF> area() const;

private:
    struct Lines {
        double x = 0, y = 0;
        double left = 0, right = 0, top = 0, bottom = 0;
        CrosshairPrice price;
    };

    static void draw(OverlaySurface& surface, const Lines& lines);
    void erase(OverlaySurface& surface);

    std::optional<Lines> drawn_;
    std::optional<std::pair<double, double>> pointer_;
};

} // namespace nimbrel
