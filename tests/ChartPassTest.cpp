#include "chart/ChartLayout.h"
#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "ichimoku/Ichimoku.h"

#include "ChartSeries.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kWidth = 19200, kHeight = 12000;

std::vector<Stroke> linesIn(const std::vector<Stroke>& strokes, const std::string& color,
                            int style = -1) {
    std::vector<Stroke> out;
    for (const Stroke& s : strokes)
        if (s.kind == "line" && s.color == color && (style < 0 || s.style == style))
            out.push_back(s);
    return out;
}

struct Drawn {
    RecordingSurface surface{kWidth, kHeight};
    ChartLayout layout;
    std::vector<Stroke> strokes;
};

// Draws the view and keeps the layout the pass used.
Drawn draw(const PriceSeries& series, ViewState& view, const ChartProfile& profile = kScreenProfile,
           SheetPart part = SheetPart::Whole) {
    Drawn drawn;
    drawn.layout = drawChart(drawn.surface, series, view, profile, part);
    drawn.strokes = drawn.surface.strokes();
    return drawn;
}

// Coordinates computed along another route than the pass's own agree to well within a twip.
#define EXPECT_TWIPS(a, b) EXPECT_NEAR((a), (b), 1e-6)

size_t firstIndex(const std::vector<Stroke>& strokes, const std::string& kind,
                  const std::string& color) {
    for (size_t i = 0; i < strokes.size(); ++i)
        if (strokes[i].kind == kind && strokes[i].color == color) return i;
    return strokes.size();
}

} // namespace

TEST(ChartPass, DrawsTheElementsInLayers) {
    auto series = chartSeries(60);
    ViewState view;
    scanVisibleRange(*series, view);
    const Drawn d = draw(*series, view);
    ASSERT_EQ(d.surface.calls().front(), "clear");
    const auto& s = d.strokes;
    ASSERT_EQ(s.front().kind, "text"); // the title first, in black
    EXPECT_EQ(s.front().text, "見本 日足   19990104～19990323");
    EXPECT_EQ(s.front().color, "0 0 0");

    const size_t grid = firstIndex(s, "line", "0 150 150");
    const size_t cloud = firstIndex(s, "line", "0 200 0");
    const size_t conversion = firstIndex(s, "line", "0 0 255");
    const size_t body = firstIndex(s, "fill", "0 0 128");
    size_t legendBand = 0, dateBand = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i].kind != "fill" || s[i].color != "255 255 255") continue;
        if (s[i].y2 == d.layout.frame.top - 7) legendBand = i;
        if (s[i].y1 == d.layout.frame.bottom() + 10) dateBand = i;
    }
    EXPECT_LT(grid, cloud);
    EXPECT_LT(cloud, body);
    EXPECT_LT(body, conversion);
    // Each day: its conversion and base segments, then its candle over them.
    EXPECT_EQ(s[conversion + 1].color, "0 0 0"); // the wick; the base line starts on day 27
    EXPECT_EQ(s[conversion + 2].kind, "fill");
    EXPECT_TWIPS(s[conversion + 2].x1 + d.layout.halfBody, s[conversion].x2);
    EXPECT_LT(conversion, legendBand);
    EXPECT_EQ(s[legendBand + 1].kind, "text");
    EXPECT_EQ(s[legendBand + 1].color, "0 0 0"); // left black by the last candle
    EXPECT_TWIPS(s[legendBand + 1].x1, d.layout.legendX);
    EXPECT_LT(legendBand, dateBand);
    EXPECT_EQ(s.back().text, " 199903");

    // 21 grid lines with their labels right-aligned at the plot's left edge.
    const auto gridLines = linesIn(std::vector<Stroke>(s.begin(), s.begin() + cloud), "0 150 150");
    EXPECT_EQ(gridLines.size(), 21u);
    EXPECT_TWIPS(gridLines.front().y1, d.layout.frame.bottom()); // 4000 at the bottom
    EXPECT_EQ(s[grid + 1].text, " 4000");
    EXPECT_TWIPS(s[grid + 1].x1 + 5 * 0.5 * 12 * 20, d.layout.frame.left);
}

TEST(ChartPass, SpansAndTheLaggingLineAre25SlotsAhead) {
    auto series = chartSeries(60);
    ViewState view;
    scanVisibleRange(*series, view);
    const Drawn d = draw(*series, view);
    const DayMapping& x = d.layout.days;
    EXPECT_EQ(d.layout.dayWidth,
              static_cast<float>((double(d.layout.frame.right) - d.layout.frame.left) / 85));

    const auto span1 = linesIn(d.strokes, "0 200 0", 0);
    ASSERT_FALSE(span1.empty());
    EXPECT_TWIPS(span1.front().x1, x.x(52)); // span 1 starts on day 27
    EXPECT_TWIPS(span1.front().x2, x.x(53));
    EXPECT_TWIPS(span1.back().x2, x.x(85)); // the right edge of the plot
    const auto cloud = linesIn(d.strokes, "0 200 0", 2);
    ASSERT_FALSE(cloud.empty());
    EXPECT_TWIPS(cloud.front().x1, x.x(77)); // where span 2 (day 52) begins
    EXPECT_TWIPS(cloud.front().x1, cloud.front().x2);
    const auto span2 = linesIn(d.strokes, "0 150 150", 0);
    ASSERT_EQ(span2.size(), 8u); // days 52..59 to their next days
    EXPECT_EQ(span2.front().width, 1);

    const auto lagging = linesIn(d.strokes, "0 0 0", 0);
    std::vector<Stroke> forward;
    for (const Stroke& s : lagging)
        if (s.x1 != s.x2) forward.push_back(s);
    ASSERT_EQ(forward.size(), 59u);
    EXPECT_TWIPS(forward.front().x1, x.x(26)); // the close of day 1 at slot 26
    EXPECT_TWIPS(forward.back().x2, x.x(85));
    EXPECT_TWIPS(forward.back().y2,
                 *d.layout.seriesPrices.clampedY(series->priceTable[60].close.toDouble()));

    const auto conversion = linesIn(d.strokes, "0 0 255");
    EXPECT_TWIPS(conversion.front().x1, x.x(9)); // from the first value on
    EXPECT_EQ(conversion.size(), 51u);
    for (const Stroke& s : conversion) EXPECT_TRUE(s.width == 1 && s.style == 2);
    for (const Stroke& s : linesIn(d.strokes, "255 0 0")) EXPECT_TRUE(s.width == 1 && s.style == 1);
}

TEST(ChartPass, TheBackPlacementUsesClosesBeyondTheLastCandle) {
    auto series = chartSeries(100);
    ViewState view;
    view.spanForward = false;
    view.spanBack = true;
    view.endOffset = 30;
    scanVisibleRange(*series, view);
    const Drawn d = draw(*series, view);
    const auto back = linesIn(d.strokes, "150 0 150", 2);
    ASSERT_FALSE(back.empty());
    EXPECT_TWIPS(back.front().x2, d.layout.days.x(27)); // joins the closes of days 51 and 52
    EXPECT_TWIPS(back.front().y2,
                 *d.layout.seriesPrices.clampedY(series->priceTable[52].close.toDouble()));
    EXPECT_TWIPS(back.back().x2, d.layout.days.x(75)); // 5 slots right of the last candle (day 70)
    EXPECT_TRUE(linesIn(d.strokes, "0 0 0", 0).size() == 70u); // only the wicks are black
}

TEST(ChartPass, CandlesShowRisingDaysWhiteAndFallingDaysDark) {
    auto series = chartSeries(30);
    series->priceTable[30].close = series->priceTable[30].open; // unchanged: rising, no height
    ViewState view;
    scanVisibleRange(*series, view);
    const Drawn d = draw(*series, view);
    std::vector<Stroke> boxes;
    for (const Stroke& s : d.strokes)
        if ((s.kind == "fill" || s.kind == "frame") && s.x2 - s.x1 < 1000) boxes.push_back(s);
    // 15 falling days: one dark box; 15 rising days: dark, white and a red frame.
    ASSERT_EQ(boxes.size(), 15u + 3 * 15u);
    const Stroke& last = boxes.back();
    EXPECT_EQ(last.kind, "frame");
    EXPECT_EQ(last.color, "255 0 0");
    EXPECT_EQ(last.y1, last.y2);
    EXPECT_TWIPS(last.x2 - last.x1, 2 * d.layout.halfBody);
    EXPECT_TWIPS((last.x1 + last.x2) / 2, d.layout.days.x(30));
    EXPECT_EQ(boxes[boxes.size() - 2].color, "255 255 255");
}

TEST(ChartPass, OnePriceFilesDrawAThickLineOfOpens) {
    auto series = onePriceSeries(40);
    ViewState view;
    scanVisibleRange(*series, view);
    const Drawn d = draw(*series, view);
    std::vector<Stroke> priceLine;
    for (const Stroke& s : d.strokes) {
        EXPECT_FALSE(s.kind == "fill" && s.color == "0 0 128");
        if (s.kind == "line" && s.width == 2) priceLine.push_back(s);
    }
    ASSERT_EQ(priceLine.size(), 39u);
    EXPECT_EQ(priceLine.front().color, "0 0 0");
    EXPECT_TWIPS(priceLine.front().x2, d.layout.days.x(2));
    // The conversion line after it is back at width 1.
    for (const Stroke& s : linesIn(d.strokes, "0 0 255")) EXPECT_EQ(s.width, 1);
}

TEST(ChartPass, SeriesBeyondTheAxisAreClampedTwentyTwipsOutside) {
    auto series = chartSeries(60);
    ViewState view;
    scanVisibleRange(*series, view);
    view.visibleHigh = Fixed4::fromWhole(4500); // a user range below the highest high
    const Drawn d = draw(*series, view);
    EXPECT_EQ(view.visibleHigh, Fixed4::fromWhole(4500)); // the range is kept as set
    const double top = d.layout.frame.top;
    bool clampedWick = false;
    for (const Stroke& s : linesIn(d.strokes, "0 0 0", 0)) {
        EXPECT_GE(std::min(s.y1, s.y2), top - 20);
        clampedWick = clampedWick || (s.x1 == s.x2 && s.y1 == top - 20);
    }
    EXPECT_TRUE(clampedWick);
}

TEST(ChartPass, NoDataOnlyClearsAndAnEmptyRangeOnlyTitles) {
    auto empty = std::make_unique<PriceSeries>();
    ViewState view;
    view.visibleHigh = Fixed4::fromWhole(7);
    Drawn d = draw(*empty, view);
    EXPECT_EQ(d.surface.calls(), std::vector<std::string>{"clear"});
    EXPECT_FALSE(d.layout.hasRange);
    EXPECT_EQ(view.visibleHigh, Fixed4::fromWhole(7));

    auto series = chartSeries(60);
    view = ViewState();
    view.endOffset = 60; // no day drawn
    scanVisibleRange(*series, view);
    d = draw(*series, view);
    ASSERT_EQ(d.strokes.size(), 1u);
    EXPECT_EQ(d.strokes.front().kind, "text");

    RecordingSurface minimised(kWidth, 0);
    view = ViewState();
    drawChart(minimised, *series, view, kScreenProfile);
    EXPECT_EQ(minimised.calls(), std::vector<std::string>{"clear"});
}

TEST(ChartPass, AFlatRangeDrawsOneStepEachSide) {
    auto series = chartSeries(60);
    for (int day = 1; day <= 60; ++day) {
        PriceRow& row = series->priceTable[day];
        row.open = row.high = row.low = row.close = Fixed4::fromWhole(1500);
    }
    computeIchimoku(*series);
    ViewState view;
    scanVisibleRange(*series, view);
    const Drawn d = draw(*series, view);
    EXPECT_EQ(d.layout.axis.step, 5);
    EXPECT_EQ(d.layout.gridLines, 2);
    const auto grid = linesIn(d.strokes, "0 150 150", 2);
    ASSERT_GE(grid.size(), 3u);
    EXPECT_TWIPS(grid[1].y1,
                 d.layout.frame.top + d.layout.frame.height / 2.0); // 1500 in the middle
}

TEST(ChartPass, ALogarithmicAxisCrowdsItsGridTowardsTheTop) {
    auto series = chartSeries(60);
    ViewState view;
    view.logY = true;
    view.userStep = 100;
    scanVisibleRange(*series, view);
    view.visibleHigh = Fixed4::fromWhole(2000); // a user range
    view.visibleLow = Fixed4::fromWhole(1000);
    const Drawn d = draw(*series, view);
    std::vector<Stroke> grid;
    for (const Stroke& s : linesIn(d.strokes, "0 150 150", 2))
        if (s.y1 == s.y2) grid.push_back(s);
    ASSERT_EQ(grid.size(), 11u);
    const double top = d.layout.frame.top, height = d.layout.frame.height;
    EXPECT_NEAR((grid[1].y1 - top) / height, 0.8625, 1e-4); // the line of 1100
    EXPECT_TWIPS(grid.back().y1, top);

    // A zero low on a log axis: the axis starts one step up and the zero is not drawn.
    series->priceTable[5].low = Fixed4();
    scanVisibleRange(*series, view);
    const Drawn zero = draw(*series, view);
    EXPECT_EQ(zero.layout.axis.bottom, Fixed4::fromWhole(100));
    for (const Stroke& s : zero.strokes) {
        EXPECT_TRUE(std::isfinite(s.y1) && std::isfinite(s.y2));
    }
}

TEST(ChartPass, DateLabelsShrinkToTheirGroupButNotBelowTwoPoints) {
    auto series = chartSeries(300);
    ViewState view;
    view.maxLength = 300;
    view.firstDay = 1;
    scanVisibleRange(*series, view);
    const Drawn d = draw(*series, view);
    const auto fonts = d.surface.callsOf("font");
    for (const std::string& font : fonts) EXPECT_GE(std::stod(font.substr(5)), 2.0);
    // The group lines: the last one half a slot right of the newest day.
    std::vector<Stroke> groupLines;
    for (const Stroke& s : linesIn(d.strokes, "0 150 150", 2))
        if (s.x1 == s.x2) groupLines.push_back(s);
    ASSERT_EQ(groupLines.size(), 15u);
    EXPECT_TWIPS(groupLines.back().x1, d.layout.days.x(300) + 0.5 * d.layout.dayWidth);
    EXPECT_EQ(d.layout.dateGroups[15].count, 20);
    EXPECT_EQ(d.layout.dateGroups[16].value, 0);
}

TEST(ChartPass, ThePageDrawsTheScreenChartInBlackWithTwoThickerPens) {
    auto candles = chartSeries(90);
    auto onePrice = onePriceSeries(90);
    candles->priceTable[90].close = candles->priceTable[90].open; // unchanged: a rising day
    struct Case {
        const PriceSeries* series;
        bool spanBack, logY;
        SheetPart part;
    };
    const Case cases[] = {{candles.get(), true, false, SheetPart::Whole},
                          {candles.get(), false, true, SheetPart::UpperHalf},
                          {onePrice.get(), true, false, SheetPart::LowerHalf}};
    for (const Case& c : cases) {
        ViewState view;
        view.spanBack = c.spanBack;
        view.logY = c.logY;
        scanVisibleRange(*c.series, view);
        const Drawn screen = draw(*c.series, view, kScreenProfile, c.part);
        const Drawn page = draw(*c.series, view, kPageProfile, c.part);
        EXPECT_EQ(std::count(page.surface.calls().begin(), page.surface.calls().end(), "clear"), 0);
        // Element for element the screen chart, each in black (white boxes stay white); only the
        // forward lagging line (1 to 2) and the line of one-price files (2 to 5) get thicker.
        ASSERT_EQ(page.strokes.size(), screen.strokes.size());
        int laggingForward = 0, priceLine = 0, whiteBoxes = 0;
        for (size_t i = 0; i < page.strokes.size(); ++i) {
            const Stroke &on = screen.strokes[i], &off = page.strokes[i];
            ASSERT_EQ(off.kind, on.kind);
            EXPECT_EQ(off.color, on.color == "255 255 255" ? on.color : "0 0 0") << i;
            EXPECT_EQ(off.style, on.style);
            int width = on.width;
            if (on.kind == "line" && on.color == "0 0 0" && on.style == 0 && on.width == 1 &&
                on.x1 != on.x2) {
                width = 2;
                ++laggingForward;
            }
            if (on.kind == "line" && on.width == 2) {
                width = 5;
                ++priceLine;
            }
            whiteBoxes += off.color == "255 255 255";
            EXPECT_EQ(off.width, width) << i;
        }
        EXPECT_EQ(laggingForward, 89);
        EXPECT_EQ(priceLine, c.series == onePrice.get() ? 89 : 0);
        // The legend and date bands, and a white body on every rising day.
        EXPECT_EQ(whiteBoxes, 2 + (c.series == candles.get() ? 45 : 0));
    }
}

TEST(ChartPass, DrawsWithItsOwnPensWhateverTheSurfaceHeldBefore) {
    auto series = chartSeries(60);
    ViewState view;
    view.spanBack = true;
    scanVisibleRange(*series, view);
    RecordingSurface surface(kWidth, kHeight);
    drawChart(surface, *series, view, kScreenProfile);
    const std::vector<Stroke> first = surface.strokes();
    surface.setPenColor({1, 2, 3});
    surface.setPenWidth(5);
    surface.setPenStyle(PenStyle::Dashed);
    drawChart(surface, *series, view, kScreenProfile);
    const std::vector<Stroke>& both = surface.strokes();
    ASSERT_EQ(both.size(), 2 * first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        const Stroke& again = both[first.size() + i];
        SCOPED_TRACE(testing::Message() << first[i].kind << " " << i);
        EXPECT_EQ(again.color, first[i].color);
        if (first[i].kind == "text") continue; // a text takes only the pen's colour
        EXPECT_EQ(again.width, first[i].width);
        EXPECT_EQ(again.style, first[i].style);
    }
}
