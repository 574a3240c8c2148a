#include "chart/ChartTexts.h"

#include <gtest/gtest.h>

#include <memory>

namespace nimbrel {

// 1080 months of one day each, the second day the day after the first (so that the groups are
// months): the groups stop at the end of their table.
TEST(ChartTexts, DateGroupsStopAtTheEndOfTheirTable) {
    auto series = std::make_unique<PriceSeries>();
    for (int month = 0; month < 1080; ++month)
        series->priceTable[month + 1].date =
            Fixed4::fromWhole((1900 + month / 12) * 10000 + (month % 12 + 1) * 100 + 1);
    series->priceTable[2].date = Fixed4::fromWhole(19000102);
    series->dataCount = 1080;
    DateGroups groups;
    groups.fill({-1, -1});
    EXPECT_EQ(buildDateGroups(*series, 1, 1080, groups), kMaxDateGroups);
    EXPECT_EQ(groups[kMaxDateGroups].value, 196206);
    EXPECT_EQ(groups[kMaxDateGroups + 1].value, 0);
    EXPECT_EQ(groupLabel(199901), QStringLiteral(" 199901"));
}

} // namespace nimbrel
