#include "chart/ChartLayout.h"
#include "chart/ViewOperations.h"
#include "ichimoku/Ichimoku.h"

#include "ChartSeries.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

namespace nimbrel {

// A 1280 x 800 pixel window: 19200 x 12000 twips, 600 points high.
constexpr double kWidth = 19200, kHeight = 12000;

namespace {
ChartLayout layoutOf(const PriceSeries& series, ViewState& view,
                     const ChartProfile& profile = kScreenProfile, double height = kHeight,
                     SheetPart part = SheetPart::Whole) {
    RecordingSurface surface(kWidth, height);
    return layoutChart(surface, series, view, profile, part);
}
} // namespace

TEST(ChartLayout, FrameFontsAndSlotsOfAWholeWindow) {
    auto series = chartSeries(100);
    ViewState view;
    scanVisibleRange(*series, view);
    const ChartLayout layout = layoutOf(*series, view);

    EXPECT_EQ(layout.firstDay, 1); // 100 days with 120 across
    EXPECT_EQ(layout.lastDay, 100);
    EXPECT_EQ(layout.axis.step, 50);
    EXPECT_EQ(layout.titleFontSize, 18.75);  // 600 / 32
    EXPECT_EQ(layout.labelFontSize, 12);     // 0.8 * 600 / 20 intervals, capped
    EXPECT_EQ(layout.frame.top, 1968.75f);   // 3.5 lines of the title font
    EXPECT_EQ(layout.frame.right, 18637.5f); // three "0" from the right
    EXPECT_EQ(layout.frame.left, 840.f);     // "50" and "50000" in the label font
    EXPECT_EQ(layout.frame.height, 10312.5f - 1968.75f);
    EXPECT_EQ(layout.dayWidth, static_cast<float>((18637.5 - 840) / 125));
    EXPECT_DOUBLE_EQ(layout.halfBody, double(layout.dayWidth) * 0.3);
    EXPECT_EQ(layout.titleX, 1125 + 2 * 375); // from the frame before the labels widen it
    EXPECT_EQ(layout.titleY, 1968.75 - 2.25 * 562.5);
    EXPECT_EQ(layout.legendX, layout.titleX);
    EXPECT_EQ(layout.legendY, 1968.75 - 1.25 * 562.5);
    EXPECT_EQ(layout.gridLines, 20);
    EXPECT_EQ(layout.days.x(1), 840 + double(layout.dayWidth));
}

TEST(ChartLayout, EndOffsetAndReductionsShrinkTheChart) {
    auto series = chartSeries(300);
    ViewState view;
    view.endOffset = 10;
    scanVisibleRange(*series, view);
    ChartLayout layout = layoutOf(*series, view);
    EXPECT_EQ(layout.firstDay, 181);
    EXPECT_EQ(layout.lastDay, 290);
    const float fullRight = layout.frame.right;
    EXPECT_EQ(layout.dayWidth,
              static_cast<float>((double(fullRight) - layout.frame.left) / (110 + 25)));

    view.reduceX = view.reduceY = 0.5;
    layout = layoutOf(*series, view);
    EXPECT_EQ(layout.titleFontSize, 9.375);
    EXPECT_EQ(layout.frame.right, 0.5f * (19200 - 3 * 0.5f * 9.75f * 20));
    EXPECT_EQ(layout.frame.bottom(),
              0.5 * (kHeight - 3 * 9.75 * 30)); // 9.375 points take 13 pixels

    view.reduceX = view.reduceY = 1;
    // The lower half of a sheet, the reductions ignored.
    layout = layoutOf(*series, view, kScreenProfile, kHeight, SheetPart::LowerHalf);
    const double titleSize = std::round(600 / 32.0 * 0.47 / 0.75) * 0.75;
    const double bottom = kHeight - 3 * titleSize * 30;
    EXPECT_EQ(layout.frame.top, static_cast<float>(3.5 * titleSize * 30 + bottom * 0.5));
    EXPECT_EQ(layout.frame.bottom(), bottom);
}

TEST(ChartLayout, AUserStepWithFewIntervalsCapsTheLabelFont) {
    auto series = chartSeries(100);
    ViewState view;
    scanVisibleRange(*series, view);
    view.userStep = 500;
    const ChartLayout layout = layoutOf(*series, view);
    EXPECT_EQ(layout.gridLines, 2);
    EXPECT_EQ(layout.labelFontSize, 12);

    view.userStep = 0; // 150 points high: 0.8 * 150 / 20 = 6
    EXPECT_EQ(layoutOf(*series, view, kScreenProfile, 3000).labelFontSize, 6);

    view.userStep = 0.0001f; // ten million intervals: the grid stops at ten thousand lines
    EXPECT_EQ(layoutOf(*series, view).gridLines, 10000);
}

TEST(ChartLayout, ThePageLaysOutItsSheetPartsWithItsMargins) {
    // A printable area of 11000 x 15840 twips: 792 points high. Worked by hand from the recording
    // surface's metrics (sizes in steps of 0.75 point, a line 1.5 em, a digit half an em).
    auto series = chartSeries(100); // 4000 to 5000: step 50, 20 intervals
    struct Case {
        SheetPart part;
        float reduce, userStep;
        double title, label, top, bottom, left, right;
    };
    const Case cases[] = {
        // 792 / 32 = 24.75 points; top 3.5 lines + 350; left "50" "50000" at 12 points + 300.
        {SheetPart::Whole, 1, 0, 24.75, 12, 2948.75, 13612.5, 1140, 10257.5},
        // Halves: 24.75 * 0.47 = 11.63, taken as 12 points; the frame is not reduced.
        {SheetPart::UpperHalf, 1, 0, 12, 12, 1610, 7380, 1140, 10640},
        {SheetPart::LowerHalf, 1, 0, 12, 12, 8990, 14760, 1140, 10640},
        {SheetPart::UpperHalf, 0.5, 0, 6, 12, 980, 7650, 1140, 10820},
        {SheetPart::Whole, 0.5, 0, 12.75, 12, 1688.75, 7346.25, 1140, 5308.75},
        // Two intervals: the labels stay at 12 points; "500" "50000" + 300.
        {SheetPart::Whole, 1, 500, 24.75, 12, 2948.75, 13612.5, 1260, 10257.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.part) << " " << c.reduce << " " << c.userStep);
        ViewState view;
        view.reduceX = view.reduceY = c.reduce;
        view.userStep = c.userStep;
        scanVisibleRange(*series, view);
        RecordingSurface page(11000, 15840);
        const ChartLayout layout = layoutChart(page, *series, view, kPageProfile, c.part);
        EXPECT_DOUBLE_EQ(std::round(layout.titleFontSize / 0.75) * 0.75, c.title);
        EXPECT_EQ(layout.labelFontSize, c.label);
        EXPECT_DOUBLE_EQ(layout.frame.top, c.top);
        EXPECT_DOUBLE_EQ(layout.frame.bottom(), c.bottom);
        EXPECT_DOUBLE_EQ(layout.frame.left, c.left);
        EXPECT_DOUBLE_EQ(layout.frame.right, c.right);
        EXPECT_FLOAT_EQ(layout.dayWidth, static_cast<float>((c.right - c.left) / 125));
        EXPECT_DOUBLE_EQ(layout.titleY, c.top - 2.25 * c.title * 30);
    }
}

} // namespace nimbrel
