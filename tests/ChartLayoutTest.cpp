#include "chart/ChartLayout.h"
#include "chart/ViewOperations.h"
#include "ichimoku/Ichimoku.h"

#include "ChartSeries.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

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

TEST(ChartLayout, ThePageAddsItsMargins) {
    auto series = chartSeries(100);
    ViewState view;
    scanVisibleRange(*series, view);
    const ChartLayout layout = layoutOf(*series, view, kPageProfile);
    EXPECT_EQ(layout.frame.top, 1968.75f + 350);
    EXPECT_EQ(layout.frame.left, 840.f + 300);
    EXPECT_EQ(layout.titleX, 1125 + 350 + 2 * 375);
}
