#pragma once

#include "chart/AxisScale.h"
#include "chart/ChartMapping.h"
#include "chart/ChartProfile.h"
#include "chart/ChartTexts.h"
#include "chart/ViewState.h"
#include "data/PriceSeries.h"
#include "render/Surface.h"

#include <QString>

#include <vector>

namespace nimbrel {

inline const QString kChartFont = QStringLiteral("ＭＳ 明朝");

// Where on the surface a chart goes: all of it, or the upper or lower half of a printed sheet
// that carries two charts.
enum class SheetPart { Whole, UpperHalf, LowerHalf };

// The plot rectangle, in twips.
struct PlotFrame {
    float left = 0;
    float top = 0;
    float right = 0;
    float height = 0; // bottom - top
    double bottom() const { return double(top) + double(height); }
};

// A white box between two corners.
struct Band {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// One line of the price grid and its label, right-aligned at the plot's left edge.
struct PriceGridLine {
    double y = 0;
    QString label;
    double labelX = 0, labelY = 0;
};

// The dotted line after a date group and the group's label, in the font size it fits at.
struct DateLabel {
    double lineX = 0;
    QString text;
    double x = 0, y = 0;
    double fontSize = 0;
};

// A time mark: a dashed line down the plot at its bar's slot, its number at the plot's top.
struct MarkLine {
    double x = 0;
    QString label;
    double labelX = 0, labelY = 0;
};

// A price target: a dashed line from its bar's slot to the plot's right edge, its name and
// price above the line at that edge.
struct TargetMarkLine {
    double x1 = 0, x2 = 0, y = 0;
    QString label;
    double labelX = 0, labelY = 0;
};

// Everything a drawing pass places, computed once before anything is drawn. The window keeps
// the layout of its last pass, from which the mouse tools find the day and price under the
// pointer.
struct ChartLayout {
    int firstDay = 1;
    int lastDay = 0;
    // False when no day is drawn or the axis has no height: the pass stops after the title.
    bool hasRange = false;
    AxisScale axis;
    double titleFontSize = 0;
    double labelFontSize = 0;
    PlotFrame frame;
    float dayWidth = 0;
    double halfBody = 0;

    QString title;
    double titleX = 0, titleY = 0;
    QString legend;
    double legendX = 0, legendY = 0;
    Band legendBand;

    DayMapping days;
    PriceMapping gridPrices;   // the grid: exact logarithms on a log axis
    PriceMapping seriesPrices; // the series: the bottom's logarithm rounded to four decimals
    int gridLines = 0;         // intervals of the price grid
    std::vector<PriceGridLine> priceGrid;

    DateGroups dateGroups{};
    Band dateBand;
    double dateLineTop = 0, dateLineBottom = 0;
    std::vector<DateLabel> dateLabels;

    std::vector<MarkLine> timeMarks;     // those whose slot the chart shows
    std::vector<TargetMarkLine> targets; // those whose price the axis shows
};

// Lays out the chart of the view on the surface. Measures text through the surface (and so
// leaves a font set on it); normalises the view's firstDay.
ChartLayout layoutChart(Surface& surface, const PriceSeries& series, ViewState& view,
                        const ChartProfile& profile, SheetPart part = SheetPart::Whole);

} // namespace nimbrel
