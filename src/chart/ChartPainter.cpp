#include "chart/ChartPainter.h"

#include "chart/ChartLayout.h"

#include <cmath>
#include <limits>
#include <optional>

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
        const double zeroHeight = s_.textHeight(QStringLiteral("0"));
        const AxisScale& axis = layout_.axis;
        for (int g = 0; g <= layout_.gridLines; ++g) {
            const double price = axis.bottom.toDouble() + g * axis.step;
            const std::optional<double> y = layout_.gridPrices.y(price);
            if (!y) continue;
            s_.line(layout_.frame.left, *y, layout_.frame.right, *y);
            const QString label = priceLabel(price, axis.step);
            s_.printText(layout_.frame.left - s_.textWidth(label), *y - 0.5 * zeroHeight, label);
        }
    }

    // Slots from firstDay to 25 past lastDay: the cloud, both spans and the lagging line.
    // The spans of day p are drawn at slot p + 25.
    void drawForwardLoop() {
        for (int i = layout_.firstDay; i <= layout_.lastDay + 25; ++i) {
            if (i <= 26) continue;
            const int p = i - 26;
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
            if (view_.spanBack && i + 25 <= series_.dataCount && price(i + 25).close != Fixed4()) {
                pen(kLaggingBack, 1, PenStyle::Dotted);
                segment(x0, price(i + 24).close, x1, price(i + 25).close);
            }
        }
    }

    // Drawn days: for each, the conversion and base segments ending at it, then its candle.
    void drawDayLoop() {
        const bool candles = series_.priceFieldCount == 4;
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

    void drawLegend() {
        s_.box(layout_.frame.left, layout_.legendY, layout_.frame.right, layout_.frame.top - 7,
               kWhite, BoxFill::Filled);
        s_.setFont(kChartFont, layout_.titleFontSize);
        s_.printText(layout_.legendX, layout_.legendY, layout_.legend);
    }

    void drawDateGroups(const DateGroups& groups) {
        const PlotFrame& frame = layout_.frame;
        const double bottom = frame.bottom();
        const double dayWidth = layout_.dayWidth;
        s_.box(frame.left, bottom + 10, frame.right, bottom + s_.textHeight(QStringLiteral("a")),
               kWhite, BoxFill::Filled);
        s_.setPenWidth(1);
        s_.setPenStyle(PenStyle::Dotted);
        pen(kGrid);
        int a = 1;
        for (size_t k = 1; k < groups.size() && groups[k].value != 0; ++k) {
            s_.setFont(kChartFont, layout_.labelFontSize);
            const int count = groups[k].count;
            a += count;
            const double zeroHeight = s_.textHeight(QStringLiteral("0"));
            const double x = frame.left + a * dayWidth - 0.5 * dayWidth;
            s_.line(x, frame.top, x, bottom + zeroHeight);
            const double labelX = frame.left + (a - count) * dayWidth;
            const double labelY = bottom + zeroHeight - 0.75 * zeroHeight;
            const QString label = groupLabel(groups[k].value);
            fitLabel(label, count * dayWidth);
            s_.printText(labelX, labelY, label);
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

    // Lowers the label font in half points until the label fits its group, but not below 2.
    void fitLabel(const QString& label, double room) {
        for (int tries = 0; tries < 100 && s_.textWidth(label) > room; ++tries) {
            s_.setFont(kChartFont, s_.fontSize() - 0.5);
            if (s_.fontSize() < 2) {
                s_.setFont(kChartFont, 2);
                break;
            }
        }
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

void drawChart(Surface& surface, const PriceSeries& series, ViewState& view,
               const ChartProfile& profile) {
    const Fixed4 rawHigh = view.visibleHigh, rawLow = view.visibleLow;
    if (profile.clearsSurface) surface.clear();
    const bool canDraw = series.dataCount > 0 && (!profile.needsHeight || surface.height() > 0);
    if (canDraw) {
        const ChartLayout layout = layoutChart(surface, series, view, profile);
        ChartPass pass(surface, series, view, profile, layout);
        pass.drawTitle();
        if (layout.hasRange) {
            pass.drawPriceGrid();
            pass.drawForwardLoop();
            pass.drawDayLoop();
            pass.drawLegend();
            buildDateGroups(series, layout.firstDay, layout.lastDay, view.dateGroups);
            pass.drawDateGroups(view.dateGroups);
            view.plotFrame = layout.frame;
            view.dayWidth = layout.dayWidth;
        }
        if (profile.endsDocumentAfterLowerHalf && view.splitLower) surface.endDocument();
    }
    view.splitUpper = view.splitLower = false;
    view.visibleHigh = rawHigh;
    view.visibleLow = rawLow;
}
