#include "chart/ChartLayout.h"
#include "chart/ViewOperations.h"

#include "ChartSeries.h"
#include "RecordingSurface.h"

#include <gtest/gtest.h>

namespace nimbrel {

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
    // Ten million intervals: the grid stops at ten thousand lines.
    ViewState view;
    view.userStep = 0.0001f;
    scanVisibleRange(*series, view);
    RecordingSurface page(11000, 15840);
    EXPECT_EQ(layoutChart(page, *series, view, kPageProfile, SheetPart::Whole).gridLines, 10000);
}

} // namespace nimbrel
