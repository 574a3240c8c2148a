#include "chart/ChartPainter.h"

#include "chart/ChartLayout.h"

#include <cmath>
#include <limits>
#include <optional>

namespace nimbrel {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrid{0, 150, 150};
constexpr Rgb kCloud{0, 200, 0};
constexpr Rgb kSpan1{0, 200, 0};
constexpr Rgb kSpan2{0, 150, 150};
constexpr Rgb kLaggingBack{150, 0, 150};
constexpr Rgb kConversion{0, 0, 255};
constexpr Rgb kBase{255, 0, 0};
constexpr Rgb kFallingBody{0, 0, 128};
constexpr Rgb kRisingOutline{255, 0, 0};
constexpr Rgb kTimeMark{230, 120, 0};
constexpr Rgb kTarget{200, 0, 200};

constexpr double kNoPlace = std::numeric_limits<double>::quiet_NaN();

// What the pass reads for a row outside the loaded days.
constexpr PriceRow kNoPrices{};
constexpr IchimokuRow kNoLines{};

// One pass over a surface. The pen carries from one element to the next exactly as set here:
// an element that does not set the width or style draws with what the one before left.
class ChartPass {
public:
    ChartPass(Surface& surface, const PriceSeries& series, const ViewState& view,
              const ChartProfile& profile, const ChartLayout& layout)
        : s_(surface), series_(series), view_(view), profile_(profile), layout_(layout),
          topUnits_(layout.seriesPrices.top * Fixed4::kUnitsPerWhole),
          twipsPerUnit_(layout.seriesPrices.twipsPerUnit / Fixed4::kUnitsPerWhole) {}

    void drawTitle() {
        pen(kBlack);
        s_.setFont(kChartFont, layout_.titleFontSize);
        s_.printText(layout_.titleX, layout_.titleY, layout_.title);
    }

    void drawPriceGrid() {
        s_.setPenWidth(1);
        s_.setPenStyle(PenStyle::Dotted);
        pen(kGrid);
        s_.setFont(kChartFont, layout_.labelFontSize);
        for (const PriceGridLine& line : layout_.priceGrid) {
            s_.line(layout_.frame.left, line.y, layout_.frame.right, line.y);
            s_.printText(line.labelX, line.labelY, line.label);
        }
    }

    // Slots from firstDay to the last lead slot past lastDay: the cloud, both spans and the
    // lagging line. The spans of day p are drawn at slot p + kLeadSlots.
    void drawCloudSpansAndLagging() {
        for (int i = layout_.firstDay; i <= layout_.lastDay + kLeadSlots; ++i) {
            if (i <= kLeadSlots + 1) continue;
            const int p = i - (kLeadSlots + 1);
            const double x0 = layout_.days.x(i) - layout_.dayWidth, x1 = layout_.days.x(i);
            const IchimokuRow& from = ichimoku(p);
            const IchimokuRow& to = ichimoku(p + 1);
            if (from.span1 != Fixed4() && from.span2 != Fixed4()) {
                pen(kCloud, 1, PenStyle::Dotted);
                segment(x0, from.span1, x0, from.span2);
            }
            if (from.span1 != Fixed4()) {
                pen(kSpan1, 1, PenStyle::Solid);
                segment(x0, from.span1, x1, to.span1);
            }
            if (from.span2 != Fixed4()) {
                pen(kSpan2);
                segment(x0, from.span2, x1, to.span2);
            }
            if (view_.spanForward && price(p).close != Fixed4()) {
                pen(kBlack, profile_.laggingForwardWidth, PenStyle::Solid);
                segment(x0, price(p).close, x1, price(p + 1).close);
            }
            const int back = i + kLeadSlots;
            if (view_.spanBack && back <= series_.dataCount && price(back).close != Fixed4()) {
                pen(kLaggingBack, 1, PenStyle::Dotted);
                segment(x0, price(back - 1).close, x1, price(back).close);
            }
        }
    }

    // Drawn days: for each, the conversion and base segments ending at it, then its candle.
    void drawLinesAndCandles() {
        const bool candles = series_.priceFieldCount == 4;
        // On paper the forward lagging line leaves a thicker pen; the lines of the days are thin.
        s_.setPenWidth(1);
        for (int i = layout_.firstDay; i <= layout_.lastDay; ++i) {
            const double x1 = layout_.days.x(i), x0 = x1 - layout_.dayWidth;
            if (ichimoku(i - 1).conversion != Fixed4()) {
                pen(kConversion);
                s_.setPenStyle(PenStyle::Dotted);
                segment(x0, ichimoku(i - 1).conversion, x1, ichimoku(i).conversion);
            }
            if (ichimoku(i - 1).base != Fixed4()) {
                pen(kBase);
                s_.setPenStyle(PenStyle::Dashed);
                segment(x0, ichimoku(i - 1).base, x1, ichimoku(i).base);
            }
            if (!candles) {
                if (i > 1 && price(i - 1).open != Fixed4()) {
                    pen(kBlack, profile_.priceLineWidth, PenStyle::Solid);
                    segment(x0, price(i - 1).open, x1, price(i).open);
                    s_.setPenWidth(1);
                }
                continue;
            }
            drawCandle(x1, price(i));
        }
    }

    // Time marks and price targets, dashed so that they stand apart from the Ichimoku lines.
    void drawMarks() {
        if (layout_.timeMarks.empty() && layout_.targets.empty()) return;
        s_.setFont(kChartFont, layout_.labelFontSize);
        pen(kTimeMark, 1, PenStyle::Dashed);
        for (const MarkLine& mark : layout_.timeMarks) {
            s_.line(mark.x, layout_.frame.top, mark.x, layout_.frame.bottom());
            s_.printText(mark.labelX, mark.labelY, mark.label);
        }
        pen(kTarget, 1, PenStyle::Dashed);
        for (const TargetMarkLine& target : layout_.targets) {
            s_.line(target.x1, target.y, target.x2, target.y);
            s_.printText(target.labelX, target.labelY, target.label);
        }
    }

    void drawLegend() {
        box(layout_.legendBand);
        s_.setFont(kChartFont, layout_.titleFontSize);
        s_.printText(layout_.legendX, layout_.legendY, layout_.legend);
    }

    void drawDateLabels() {
        box(layout_.dateBand);
        s_.setPenWidth(1);
        s_.setPenStyle(PenStyle::Dotted);
        pen(kGrid);
        for (const DateLabel& label : layout_.dateLabels) {
            s_.line(label.lineX, layout_.dateLineTop, label.lineX, layout_.dateLineBottom);
            s_.setFont(kChartFont, label.fontSize);
            s_.printText(label.x, label.y, label.text);
        }
    }

private:
    void pen(Rgb color) { s_.setPenColor(profile_.ink(color)); }
    void pen(Rgb color, int width, PenStyle style) {
        s_.setPenWidth(width);
        s_.setPenStyle(style);
        pen(color);
    }

    const PriceRow& price(int day) const {
        return day >= 1 && day <= series_.dataCount ? series_.priceTable[size_t(day)] : kNoPrices;
    }
    const IchimokuRow& ichimoku(int day) const {
        return day >= 1 && day <= series_.dataCount ? series_.ichimokuTable[size_t(day)] : kNoLines;
    }

    // On a linear axis a price's y comes straight from its count of units, without dividing it
    // into a double first: the pass maps some 300 000 of them. NaN where a logarithmic axis has
    // no place for the price (a plain double: an optional here stalled every call).
    double y(Fixed4 value) const {
        const PriceMapping& prices = layout_.seriesPrices;
        if (prices.logarithmic) return prices.clampedY(value.toDouble()).value_or(kNoPlace);
        return prices.clamped((topUnits_ - static_cast<double>(value.units())) * twipsPerUnit_ +
                              prices.frameTop);
    }

    // A line between two series points; skipped where a logarithmic axis has no place for one.
    void segment(double x0, Fixed4 v0, double x1, Fixed4 v1) {
        const double y0 = y(v0), y1 = y(v1);
        if (!std::isnan(y0) && !std::isnan(y1)) s_.line(x0, y0, x1, y1);
    }

    void drawCandle(double x, const PriceRow& day) {
        pen(kBlack);
        s_.setPenStyle(PenStyle::Solid);
        segment(x, day.high, x, day.low);
        const double open = y(day.open), close = y(day.close);
        s_.setPenWidth(1);
        s_.setPenStyle(PenStyle::Solid);
        if (std::isnan(open) || std::isnan(close)) return;
        const double left = x - layout_.halfBody, right = x + layout_.halfBody;
        s_.box(left, open, right, close, profile_.ink(kFallingBody), BoxFill::Filled);
        if (day.close >= day.open) {
            s_.box(left, open, right, close, kWhite, BoxFill::Filled);
            s_.box(left, open, right, close, profile_.ink(kRisingOutline), BoxFill::Outline);
        }
    }

    void box(const Band& band) {
        s_.box(band.x1, band.y1, band.x2, band.y2, kWhite, BoxFill::Filled);
    }

    Surface& s_;
    const PriceSeries& series_;
    const ViewState& view_;
    const ChartProfile& profile_;
    const ChartLayout& layout_;
    const double topUnits_;
    const double twipsPerUnit_;
};

} // namespace

ChartLayout drawChart(Surface& surface, const PriceSeries& series, ViewState& view,
                      const ChartProfile& profile, SheetPart part) {
    if (profile.clearsSurface) surface.clear();
    if (series.dataCount <= 0 || (profile.needsHeight && surface.height() <= 0)) return {};
    const ChartLayout layout = layoutChart(surface, series, view, profile, part);
    ChartPass pass(surface, series, view, profile, layout);
    pass.drawTitle();
    if (layout.hasRange) {
        pass.drawPriceGrid();
        pass.drawCloudSpansAndLagging();
        pass.drawLinesAndCandles();
        pass.drawLegend();
        pass.drawDateLabels();
        // Last, so that the legend keeps the colour the candles leave it.
        pass.drawMarks();
    }
    return layout;
}

} // namespace nimbrel
