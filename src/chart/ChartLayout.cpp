#include "chart/ChartLayout.h"

#include "chart/ViewOperations.h"
#include "chart/ChartTexts.h"
#include "data/TextForms.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace nimbrel {

namespace {

QString numberText(double value) {
    return QString::fromStdString(generalNumber(value));
}

// A user's step can be tiny against the range; beyond this many lines the grid is solid on any
// page anyway, and drawing more would only keep the user waiting.
constexpr double kMaxGridIntervals = 10000;

// Whole intervals of the grid, as many as cover the axis.
int gridIntervals(const AxisScale& axis) {
    const double whole = std::ceil(wholeStepsIn(axis.span(), axis.step));
    return static_cast<int>(std::min(whole, kMaxGridIntervals));
}

void layOutFrame(Surface& surface, const ViewState& view, const ChartProfile& profile,
                 SheetPart part, ChartLayout& layout, double& bottom) {
    const bool split = part != SheetPart::Whole;
    const double height = surface.heightInPoints();
    layout.titleFontSize = view.reduceY * height / 32 * (split ? 0.47 : 1);
    surface.setFont(kChartFont, layout.titleFontSize);

    double left = surface.textWidth(numberText(layout.axis.step)) +
                  surface.textWidth(numberText(std::floor(layout.axis.top)));
    double top = 3.5 * surface.textHeight(QStringLiteral("あ"));
    double right = surface.width() - 3 * surface.textWidth(QStringLiteral("0"));
    bottom = surface.height() - 3 * surface.textHeight(QStringLiteral("0"));
    if (part == SheetPart::UpperHalf) {
        bottom *= 0.5;
    } else if (part == SheetPart::LowerHalf) {
        top += bottom * 0.5;
    } else {
        right *= view.reduceX;
        bottom *= view.reduceY;
    }
    layout.frame.left = static_cast<float>(left + profile.frameMargin);
    layout.frame.top = static_cast<float>(top + profile.frameMargin);
    layout.frame.right = static_cast<float>(right);

    const double em = surface.textWidth(QStringLiteral("あ"));
    const double lineHeight = surface.textHeight(QStringLiteral("あ"));
    layout.titleX = layout.frame.left + 2 * em;
    layout.titleY = layout.frame.top - 2.25 * lineHeight;
    layout.legendX = layout.titleX;
    layout.legendY = layout.frame.top - 1.25 * lineHeight;
}

void layOutLabelsAndSlots(Surface& surface, const ViewState& view, const ChartProfile& profile,
                          SheetPart part, double bottom, ChartLayout& layout) {
    const bool split = part != SheetPart::Whole;
    const double height = surface.heightInPoints() * (split ? 0.47 : view.reduceY);
    surface.setFont(kChartFont, 0.8 * height / layout.axis.intervals());
    if (surface.fontSize() > 12) surface.setFont(kChartFont, 12);
    layout.labelFontSize = surface.fontSize();
    layout.frame.left = static_cast<float>(
        surface.textWidth(numberText(layout.axis.step)) +
        surface.textWidth(numberText(std::floor(10 * layout.axis.top))) + profile.labelMargin);

    const int slotCount = (layout.lastDay - layout.firstDay + 1) + kLeadSlots;
    layout.dayWidth =
        static_cast<float>((double(layout.frame.right) - layout.frame.left) / slotCount);
    layout.halfBody = double(layout.dayWidth) / 2 * 0.6;
    layout.frame.height = static_cast<float>(bottom - layout.frame.top);
}

void layOutMappings(const ViewState& view, ChartLayout& layout) {
    layout.days = {layout.frame.left, layout.dayWidth, layout.firstDay};
    const double top = layout.axis.top;
    const double bottom = layout.axis.bottom.toDouble();
    const PriceMapping linear{false, top, bottom, layout.frame.top, layout.frame.height};
    layout.gridPrices = linear;
    layout.seriesPrices = linear;
    if (view.logY) {
        layout.gridPrices = {true, std::log(top), std::log(bottom), layout.frame.top,
                             layout.frame.height};
        const double roundedBottom =
            Fixed4::fromDouble(std::log(bottom)).value_or(Fixed4()).toDouble();
        layout.seriesPrices = {true, std::log(top), roundedBottom, layout.frame.top,
                               layout.frame.height};
    }
}

// The grid's lines from the bottom up, each with its label right-aligned at the plot's left
// edge; a price a logarithmic axis has no place for gets neither.
void layOutPriceGrid(Surface& surface, ChartLayout& layout) {
    surface.setFont(kChartFont, layout.labelFontSize);
    const double zeroHeight = surface.textHeight(QStringLiteral("0"));
    const AxisScale& axis = layout.axis;
    layout.priceGrid.reserve(static_cast<size_t>(layout.gridLines) + 1);
    for (int g = 0; g <= layout.gridLines; ++g) {
        const double price = axis.bottom.toDouble() + g * axis.step;
        const std::optional<double> y = layout.gridPrices.y(price);
        if (!y) continue;
        QString label = priceLabel(price, axis.step);
        const double labelX = layout.frame.left - surface.textWidth(label);
        layout.priceGrid.push_back({*y, std::move(label), labelX, *y - 0.5 * zeroHeight});
    }
}

// Lowers the font in half points until the label fits its room, but not below 2 points.
void fitLabel(Surface& surface, const QString& label, double room) {
    for (int tries = 0; tries < 100 && surface.textWidth(label) > room; ++tries) {
        surface.setFont(kChartFont, surface.fontSize() - 0.5);
        if (surface.fontSize() < 2) {
            surface.setFont(kChartFont, 2);
            break;
        }
    }
}

// The month or year groups below the plot: a dotted line half a slot right of each group's
// last day and the group's label from its first day, shrunk until it fits the group.
void layOutDateLabels(Surface& surface, const PriceSeries& series, ChartLayout& layout) {
    buildDateGroups(series, layout.firstDay, layout.lastDay, layout.dateGroups);
    const PlotFrame& frame = layout.frame;
    const double bottom = frame.bottom();
    const double dayWidth = layout.dayWidth;
    surface.setFont(kChartFont, layout.titleFontSize);
    layout.dateBand = {frame.left, bottom + 10, frame.right,
                       bottom + surface.textHeight(QStringLiteral("a"))};
    surface.setFont(kChartFont, layout.labelFontSize);
    const double zeroHeight = surface.textHeight(QStringLiteral("0"));
    layout.dateLineTop = frame.top;
    layout.dateLineBottom = bottom + zeroHeight;
    int groupEnd = 1; // the slot after the group's last day, the first drawn day's slot being 1
    for (size_t k = 1; k < layout.dateGroups.size() && layout.dateGroups[k].value != 0; ++k) {
        surface.setFont(kChartFont, layout.labelFontSize);
        const int count = layout.dateGroups[k].count;
        groupEnd += count;
        DateLabel label;
        label.lineX = frame.left + groupEnd * dayWidth - 0.5 * dayWidth;
        label.x = frame.left + (groupEnd - count) * dayWidth;
        label.y = bottom + zeroHeight - 0.75 * zeroHeight;
        label.text = groupLabel(layout.dateGroups[k].value);
        fitLabel(surface, label.text, count * dayWidth);
        label.fontSize = surface.fontSize();
        layout.dateLabels.push_back(std::move(label));
    }
}

// The time marks whose slots the chart shows, and the target lines whose prices the axis
// shows, labelled in the price grid's font.
void layOutMarks(Surface& surface, const ViewState& view, ChartLayout& layout) {
    const ChartMarks& marks = view.marks;
    const PlotFrame& frame = layout.frame;
    surface.setFont(kChartFont, layout.labelFontSize);
    const double lineHeight = surface.textHeight(QStringLiteral("0"));
    for (const TimeMark& mark : marks.timeMarks) {
        if (mark.bar < layout.firstDay || mark.bar > layout.lastDay + kLeadSlots) continue;
        MarkLine line;
        line.x = layout.days.x(mark.bar);
        line.label = QString::number(mark.number);
        line.labelX = line.x - surface.textWidth(line.label) / 2;
        line.labelY = frame.top;
        layout.timeMarks.push_back(std::move(line));
    }
    if (marks.targets.empty() || marks.targetsFrom > layout.lastDay + kLeadSlots) return;
    const double from = layout.days.x(std::max(marks.targetsFrom, layout.firstDay));
    for (const TargetLine& target : marks.targets) {
        const std::optional<double> y = layout.seriesPrices.y(target.price.toDouble());
        if (!y || *y < frame.top || *y > frame.bottom()) continue;
        TargetMarkLine line{from, frame.right, *y, {}, 0, 0};
        line.label = target.name + QLatin1Char(' ') + priceText(target.price, view.decimalsUnit);
        line.labelX = frame.right - surface.textWidth(line.label);
        line.labelY = *y - lineHeight;
        layout.targets.push_back(std::move(line));
    }
}

// The drawn range, stretched to the price targets so that every one of them shows.
std::pair<Fixed4, Fixed4> rangeWithTargets(const ViewState& view) {
    Fixed4 high = view.visibleHigh, low = view.visibleLow;
    for (const TargetLine& target : view.marks.targets) {
        high = std::max(high, target.price);
        low = std::min(low, target.price);
    }
    return {high, low};
}

} // namespace

ChartLayout layoutChart(Surface& surface, const PriceSeries& series, ViewState& view,
                        const ChartProfile& profile, SheetPart part) {
    ChartLayout layout;
    normaliseFirstDay(series.dataCount, view);
    layout.firstDay = view.firstDay;
    layout.lastDay = lastDayOf(series.dataCount, view);
    const bool daysDrawn = layout.firstDay <= layout.lastDay && layout.lastDay >= 1;

    if (daysDrawn) {
        const auto [high, low] = rangeWithTargets(view);
        layout.axis = axisScale(high, low, view.userStep);
        // A logarithmic axis cannot reach 0: it starts at the first step above it.
        if (view.logY && layout.axis.bottom.toDouble() <= 0)
            layout.axis.bottom = Fixed4::fromDouble(layout.axis.step).value_or(Fixed4());
    } else {
        layout.axis = {1, 0, Fixed4()};
    }
    layout.hasRange =
        daysDrawn && layout.axis.span() > 0 && (!view.logY || layout.axis.bottom.toDouble() > 0);
    layout.legend = legendText(legendValues(series, layout.lastDay, view.decimalsUnit));
    layout.title = titleText(series, layout.firstDay, layout.lastDay, view.bars);

    double bottom = 0;
    layOutFrame(surface, view, profile, part, layout, bottom);
    if (!layout.hasRange) return layout;
    layOutLabelsAndSlots(surface, view, profile, part, bottom, layout);
    layOutMappings(view, layout);
    layout.gridLines = gridIntervals(layout.axis);
    // Over the plot's final width, covering grid lines and clamped series above the plot.
    layout.legendBand = {layout.frame.left, layout.legendY, layout.frame.right,
                         layout.frame.top - 7};
    layOutPriceGrid(surface, layout);
    layOutDateLabels(surface, series, layout);
    layOutMarks(surface, view, layout);
    return layout;
}

} // namespace nimbrel
