#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "ichimoku/Ichimoku.h"

#include "ChartSeries.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace nimbrel {

// The pass on the recording surface, whose metrics make every place a sum worked by hand: a
// 1280 x 800 pixel window is 19200 x 12000 twips and 600 points high; the title font is
// 600 / 32 = 18.75 points (a digit 187.5 twips wide, an em 375, a line 562.5 high); the label
// font is held to 12 points (a digit 120 wide, a line 360 high).

namespace {

constexpr double kWidth = 19200, kHeight = 12000;

struct Drawn {
    RecordingSurface surface{kWidth, kHeight};
    ChartLayout layout;
    const std::vector<Stroke>& strokes() const { return surface.strokes(); }
    std::vector<Stroke> lines(const std::string& color, int style = -1) const {
        std::vector<Stroke> out;
        for (const Stroke& s : strokes())
            if (s.kind == "line" && s.color == color && (style < 0 || s.style == style))
                out.push_back(s);
        return out;
    }
    const Stroke* text(const std::string& text) const {
        for (const Stroke& s : strokes())
            if (s.kind == "text" && s.text == text) return &s;
        return nullptr;
    }
    size_t first(const std::string& kind, const std::string& color) const {
        for (size_t i = 0; i < strokes().size(); ++i)
            if (strokes()[i].kind == kind && strokes()[i].color == color) return i;
        return strokes().size();
    }
};

Drawn draw(const PriceSeries& series, ViewState& view, double fontStep = 0.75) {
    Drawn drawn;
    drawn.surface = RecordingSurface(kWidth, kHeight, fontStep);
    drawn.layout = drawChart(drawn.surface, series, view, kScreenProfile);
    return drawn;
}

ViewState viewOf(const PriceSeries& series, int maxLength = 120) {
    ViewState view;
    view.maxLength = static_cast<int16_t>(maxLength);
    scanVisibleRange(series, view);
    return view;
}

#define EXPECT_TWIPS(a, b) EXPECT_NEAR((a), (b), 1e-6)

} // namespace

TEST(ChartPass, AWorkedChartPutsEachElementWhereTheRulesPlaceIt) {
    // 60 days from 4000 to 5000: step 50, 20 intervals. Frame: left "50" and "50000" at 12
    // points = 840, top 3.5 title lines = 1968.75, right 19200 - 3 digits = 18637.5, bottom
    // 12000 - 3 lines = 10312.5; 60 days and 25 lead slots = 85 slots.
    auto series = chartSeries(60);
    ViewState view = viewOf(*series);
    const Drawn d = draw(*series, view);
    const double slot = static_cast<float>(17797.5 / 85);
    const auto x = [&](int day) { return 840 + day * slot; };
    const auto y = [](double price) { return 1968.75 + (5000 - price) / 1000 * 8343.75; };

    // Title from the frame before the labels widened it ("50" "5000" = 1125), two ems right.
    const Stroke* title = d.text("見本 日足   19990104～19990323");
    ASSERT_NE(title, nullptr);
    EXPECT_TWIPS(title->x1, 1125 + 2 * 375);
    EXPECT_TWIPS(title->y1, 1968.75 - 2.25 * 562.5);
    // Day 60 closes at 4450; days 52-60 reach 5000 and 4175, days 35-60 5000 and 4157; the spans
    // drawn at day 60 are those of day 35: (4467.5 + 4458.5) / 2, and no span 2 yet.
    const Stroke* legend = d.text("(終値4450 転換4587.5 基準4578.5 ｽﾊﾟﾝ4463,0)");
    ASSERT_NE(legend, nullptr);
    EXPECT_TWIPS(legend->x1, 1875);
    EXPECT_TWIPS(legend->y1, 1968.75 - 1.25 * 562.5);

    // Grid lines from edge to edge, labels right-aligned at the left edge and centred on them.
    const auto grid = d.lines("0 150 150", 2);
    ASSERT_GE(grid.size(), 21u);
    for (int g = 0; g <= 20; ++g) {
        EXPECT_TWIPS(grid[g].x1, 840);
        EXPECT_TWIPS(grid[g].x2, 18637.5);
        EXPECT_TWIPS(grid[g].y1, y(4000 + 50 * g));
    }
    const Stroke* low = d.text(" 4000");
    ASSERT_NE(low, nullptr);
    EXPECT_TWIPS(low->x1, 840 - 5 * 120);
    EXPECT_TWIPS(low->y1, 10312.5 - 180);
    EXPECT_TWIPS(d.text(" 5000")->y1, 1968.75 - 180);

    // White bands: behind the legend down to 7 twips above the plot, below the plot from 10
    // twips under it down one title line.
    std::vector<Stroke> bands;
    for (const Stroke& s : d.strokes())
        if (s.kind == "fill" && s.color == "255 255 255" && s.x1 == 840) bands.push_back(s);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_TWIPS(bands[0].y1, 1265.625);
    EXPECT_TWIPS(bands[0].y2, 1961.75);
    EXPECT_TWIPS(bands[1].y1, 10322.5);
    EXPECT_TWIPS(bands[1].y2, 10875);
    for (const Stroke& band : bands) EXPECT_TWIPS(band.x2, 18637.5);

    // Months of 20 days: a line half a slot right of each month's last day, from the plot's
    // top to a label line below it; the label from the month's first day, a quarter line down.
    std::vector<Stroke> months;
    for (const Stroke& s : grid)
        if (s.x1 == s.x2) months.push_back(s);
    ASSERT_EQ(months.size(), 3u);
    for (int m = 0; m < 3; ++m) {
        EXPECT_TWIPS(months[m].x1, 840 + (20.5 + 20 * m) * slot);
        EXPECT_TWIPS(months[m].y1, 1968.75);
        EXPECT_TWIPS(months[m].y2, 10312.5 + 360);
    }
    const Stroke* february = d.text(" 199902");
    ASSERT_NE(february, nullptr);
    EXPECT_TWIPS(february->x1, x(21));
    EXPECT_TWIPS(february->y1, 10312.5 + 0.25 * 360);
    EXPECT_EQ(february->color, "0 150 150");

    // Spans 25 slots ahead of the day that holds them: span 1 from day 27 at slot 52, the cloud
    // from day 52 (span 2's first) at slot 77, the closes of days 1.. from slot 26, all to the
    // plot's right edge at slot 85.
    const auto span1 = d.lines("0 200 0", 0);
    ASSERT_EQ(span1.size(), 33u);
    EXPECT_TWIPS(span1.front().x1, x(52));
    EXPECT_TWIPS(span1.back().x2, x(85));
    const auto cloud = d.lines("0 200 0", 2);
    ASSERT_EQ(cloud.size(), 8u);
    EXPECT_TWIPS(cloud.front().x1, x(77));
    EXPECT_TWIPS(cloud.front().x2, x(77));
    EXPECT_TWIPS(cloud.front().y1, y(series->ichimokuTable[52].span1.toDouble()));
    EXPECT_TWIPS(cloud.front().y2, y(series->ichimokuTable[52].span2.toDouble()));
    std::vector<Stroke> lagging;
    for (const Stroke& s : d.lines("0 0 0", 0))
        if (s.x1 != s.x2) lagging.push_back(s);
    ASSERT_EQ(lagging.size(), 59u);
    EXPECT_TWIPS(lagging.front().x1, x(26));
    EXPECT_TWIPS(lagging.front().y1, y(series->priceTable[1].close.toDouble()));
    EXPECT_TWIPS(lagging.back().x2, x(85));
    // The conversion line from the day after its first value, dotted; the base line dashed.
    const auto conversion = d.lines("0 0 255");
    ASSERT_EQ(conversion.size(), 51u);
    EXPECT_TWIPS(conversion.front().x2, x(10));
    for (const Stroke& s : conversion) EXPECT_EQ(s.style, 2);
    for (const Stroke& s : d.lines("255 0 0")) EXPECT_EQ(s.style, 1);

    // Layers: grid, then cloud, then each day's lines under its candle, then the legend band.
    EXPECT_LT(d.first("line", "0 150 150"), d.first("line", "0 200 0"));
    EXPECT_LT(d.first("line", "0 200 0"), d.first("fill", "0 0 128"));
    const size_t tenth = d.first("line", "0 0 255");
    EXPECT_EQ(d.strokes()[tenth + 1].kind, "line"); // day 10's wick, then its body
    EXPECT_TWIPS(d.strokes()[tenth + 2].x1, x(10) - 0.3 * slot);
    EXPECT_TWIPS(d.strokes()[tenth + 2].x2, x(10) + 0.3 * slot);
    EXPECT_EQ(d.strokes().back().text, " 199903");
}

TEST(ChartPass, DateLabelsShrinkInHalfPointsToTheirMonthButNotBelowTwoPoints) {
    // Months of 20 days; a label " 199901" is 7 digits, 70 twips a point. With 1000 days a
    // month is 20 * 17797.5 / 1025 = 347.3 twips: 12 points come down in steps of 0.5, each
    // taken to the 0.75 of the surface (11.25, 10.5, ...), to 4.5 (315 twips); 5.25 is too
    // wide. With 5000 days a month is 70.8 twips: the label stops at 2 points (2.25 in effect).
    // On a surface of 144 dots an inch the steps are seen as they are: 12, 11.5, ... 5 (350
    // twips, too wide) and 4.5; 1000 days are then (19200 - 3 * 190 - 840) / 1025 a slot.
    const struct {
        int days;
        double fontStep, size;
    } cases[] = {{1000, 0.75, 4.5}, {5000, 0.75, 2.25}, {1000, 0.5, 4.5}};
    for (const auto& [days, fontStep, size] : cases) {
        auto series = chartSeries(days);
        ViewState view = viewOf(*series, days);
        const Drawn d = draw(*series, view, fontStep);
        ASSERT_EQ(d.layout.dateLabels.size(), static_cast<size_t>(days / 20));
        for (const DateLabel& label : d.layout.dateLabels) EXPECT_EQ(label.fontSize, size);
        const std::vector<std::string> fonts = d.surface.callsOf("font");
        EXPECT_EQ(fonts.back(), "font " + twips(size));
    }
}

TEST(ChartPass, CandlesAndTheLineOfOnePriceFiles) {
    auto series = chartSeries(30);
    series->priceTable[30].close = series->priceTable[30].open; // unchanged: rising, no height
    ViewState view = viewOf(*series);
    const Drawn d = draw(*series, view);
    std::vector<Stroke> boxes;
    for (const Stroke& s : d.strokes())
        if ((s.kind == "fill" || s.kind == "frame") && s.x2 - s.x1 < 1000) boxes.push_back(s);
    // 15 falling days: one dark box; 15 rising days: dark, white and a red frame.
    ASSERT_EQ(boxes.size(), 15u + 3 * 15u);
    EXPECT_EQ(boxes[0].color, "0 0 128");
    EXPECT_EQ(boxes[boxes.size() - 2].color, "255 255 255");
    const Stroke& last = boxes.back();
    EXPECT_EQ(last.kind, "frame");
    EXPECT_EQ(last.color, "255 0 0");
    EXPECT_EQ(last.y1, last.y2);

    auto onePrice = onePriceSeries(40);
    view = viewOf(*onePrice);
    const Drawn line = draw(*onePrice, view);
    std::vector<Stroke> priceLine;
    for (const Stroke& s : line.strokes()) {
        EXPECT_FALSE(s.kind == "fill" && s.color == "0 0 128");
        if (s.kind == "line" && s.width == 2) priceLine.push_back(s);
    }
    ASSERT_EQ(priceLine.size(), 39u); // from day 1 to each next day
    EXPECT_EQ(priceLine.front().color, "0 0 0");
    for (const Stroke& s : line.lines("0 0 255")) EXPECT_EQ(s.width, 1); // back to 1 after it
}

TEST(ChartPass, ClampedFlatAndLogarithmicAxes) {
    // A user range below the highest high: wicks stop 20 twips above the plot.
    auto series = chartSeries(60);
    ViewState view = viewOf(*series);
    view.visibleHigh = Fixed4::fromWhole(4500);
    Drawn d = draw(*series, view);
    EXPECT_EQ(view.visibleHigh, Fixed4::fromWhole(4500)); // the range is kept as set
    bool clampedWick = false;
    for (const Stroke& s : d.lines("0 0 0", 0)) {
        EXPECT_GE(std::min(s.y1, s.y2), 1968.75 - 20);
        clampedWick = clampedWick || (s.x1 == s.x2 && s.y1 == 1968.75 - 20);
    }
    EXPECT_TRUE(clampedWick);

    // A flat range: one step each side, the price in the middle.
    auto flat = chartSeries(60);
    for (int day = 1; day <= 60; ++day) {
        PriceRow& row = flat->priceTable[day];
        row.open = row.high = row.low = row.close = Fixed4::fromWhole(1500);
    }
    computeIchimoku(*flat);
    view = viewOf(*flat);
    d = draw(*flat, view);
    EXPECT_EQ(d.layout.axis.step, 5);
    const auto grid = d.lines("0 150 150", 2);
    ASSERT_GE(grid.size(), 3u);
    EXPECT_TWIPS(grid[1].y1, 1968.75 + 8343.75 / 2);

    // A log axis from 1000 to 2000 in steps of 100: eleven lines crowding towards the top, the
    // line of 1100 at (ln 2000 - ln 1100) / ln 2 of the height.
    view = viewOf(*series);
    view.logY = true;
    view.userStep = 100;
    view.visibleHigh = Fixed4::fromWhole(2000);
    view.visibleLow = Fixed4::fromWhole(1000);
    d = draw(*series, view);
    std::vector<Stroke> levels;
    for (const Stroke& s : d.lines("0 150 150", 2))
        if (s.y1 == s.y2) levels.push_back(s);
    ASSERT_EQ(levels.size(), 11u);
    const double top = d.layout.frame.top, height = d.layout.frame.height;
    EXPECT_NEAR((levels[1].y1 - top) / height, std::log(2000.0 / 1100) / std::log(2.0), 1e-9);
    EXPECT_TWIPS(levels.back().y1, top);
    // A low of 0 on a log axis: the axis starts one step up and nothing is drawn at 0.
    series->priceTable[5].low = Fixed4();
    scanVisibleRange(*series, view);
    d = draw(*series, view);
    EXPECT_EQ(d.layout.axis.bottom, Fixed4::fromWhole(100));
    for (const Stroke& s : d.strokes()) EXPECT_TRUE(std::isfinite(s.y1) && std::isfinite(s.y2));
}

TEST(ChartPass, NoDataNoHeightOrNoDayDrawsOnlyWhatItCan) {
    PriceSeries empty;
    ViewState view;
    view.visibleHigh = Fixed4::fromWhole(7);
    Drawn d = draw(empty, view);
    EXPECT_EQ(d.surface.calls(), std::vector<std::string>{"clear"});
    EXPECT_FALSE(d.layout.hasRange);
    EXPECT_EQ(view.visibleHigh, Fixed4::fromWhole(7));

    auto series = chartSeries(60);
    view = ViewState();
    view.endOffset = 60; // no day drawn: the title alone
    scanVisibleRange(*series, view);
    d = draw(*series, view);
    ASSERT_EQ(d.strokes().size(), 1u);
    EXPECT_EQ(d.strokes().front().kind, "text");

    RecordingSurface minimised(kWidth, 0);
    view = ViewState();
    drawChart(minimised, *series, view, kScreenProfile);
    EXPECT_EQ(minimised.calls(), std::vector<std::string>{"clear"});
}

} // namespace nimbrel
