#include "chart/ChartTexts.h"

#include <gtest/gtest.h>

#include <memory>

namespace nimbrel {

namespace {

std::unique_ptr<PriceSeries> datedSeries(const std::vector<int>& dates) {
    auto series = std::make_unique<PriceSeries>();
    for (size_t i = 0; i < dates.size(); ++i)
        series->priceTable[i + 1].date = Fixed4::fromWhole(dates[i]);
    series->dataCount = static_cast<int32_t>(dates.size());
    return series;
}

std::vector<std::pair<int, int>> listed(const DateGroups& groups) {
    std::vector<std::pair<int, int>> out;
    for (size_t k = 1; k < groups.size() && groups[k].value != 0; ++k)
        out.push_back({groups[k].value, groups[k].count});
    return out;
}

} // namespace

TEST(ChartTexts, PriceLabelsTakeTheirDecimalsFromTheStep) {
    EXPECT_EQ(priceLabel(4000, 50), QStringLiteral(" 4000"));
    EXPECT_EQ(priceLabel(4050, 50), QStringLiteral(" 4050"));
    EXPECT_EQ(priceLabel(8.1, 0.05), QStringLiteral("8.10"));
    EXPECT_EQ(priceLabel(8.1 + 0.05, 0.05), QStringLiteral("8.15"));
    EXPECT_EQ(priceLabel(1.5, 0.5), QStringLiteral("1.5"));
    EXPECT_EQ(priceLabel(0.5, 0.5), QStringLiteral(".5"));
    EXPECT_EQ(priceLabel(1000000, 500000), QStringLiteral(" 1000000"));
    EXPECT_EQ(priceLabel(-20, 0.5), QStringLiteral("-20.0"));
}

TEST(ChartTexts, TitleAndLegendShowTheNewestValuesRoundedToKeta) {
    auto series = datedSeries({19990124, 19990125});
    series->titleLine1 = QStringLiteral("日経平均");
    series->titleLine2 = QStringLiteral("日足");
    EXPECT_EQ(titleText(*series, 1, 2), QStringLiteral("日経平均 日足   19990124～19990125"));

    series->priceTable[2].close = *Fixed4::fromText("1234.567");
    series->ichimokuTable[2].conversion = Fixed4::fromWhole(1230);
    series->ichimokuTable[2].base = *Fixed4::fromText("2351.575"); // a half: up, exactly
    const Fixed4 decimalsUnit = *Fixed4::fromText("0.01");
    LegendValues values = legendValues(*series, 2, decimalsUnit);
    EXPECT_EQ(legendText(values), QStringLiteral("(終値1234.57 転換1230 基準2351.58 ｽﾊﾟﾝ0,0)"));

    values = {1234.5, 1230, 1228.5, 1210, 1199};
    EXPECT_EQ(legendText(values), QStringLiteral("(終値1234.5 転換1230 基準1228.5 ｽﾊﾟﾝ1210,1199)"));

    // The spans shown are those drawn at the newest slot: computed 25 days before it.
    series = datedSeries(std::vector<int>(60, 20200101));
    series->ichimokuTable[35].span1 = *Fixed4::fromText("1210.004");
    series->ichimokuTable[35].span2 = *Fixed4::fromText("1199.996");
    values = legendValues(*series, 60, decimalsUnit);
    EXPECT_DOUBLE_EQ(values.span1, 1210);
    EXPECT_DOUBLE_EQ(values.span2, 1200);
    EXPECT_EQ(legendValues(*series, 25, decimalsUnit).span1, 0);
    EXPECT_DOUBLE_EQ(legendValues(*series, 60, Fixed4::fromWhole(5)).span2, 1200);
}

TEST(ChartTexts, DateGroupsAreMonthsOrYearsOfTheDrawnDays) {
    std::vector<int> dates;
    for (int month = 1; month <= 3; ++month)
        for (int day = 4; day <= 26; day += 2) dates.push_back(19990000 + month * 100 + day);
    auto daily = datedSeries(dates);
    DateGroups groups{};
    EXPECT_EQ(buildDateGroups(*daily, 1, 36, groups), 3);
    EXPECT_EQ(listed(groups),
              (std::vector<std::pair<int, int>>{{199901, 12}, {199902, 12}, {199903, 12}}));

    // The newest day opening a month of its own is a group of one.
    EXPECT_EQ(buildDateGroups(*daily, 5, 25, groups), 3);
    EXPECT_EQ(listed(groups),
              (std::vector<std::pair<int, int>>{{199901, 8}, {199902, 12}, {199903, 1}}));
    EXPECT_EQ(buildDateGroups(*daily, 7, 7, groups), 1);
    EXPECT_EQ(listed(groups), (std::vector<std::pair<int, int>>{{199901, 1}}));

    auto monthly = datedSeries({19950101, 19950201, 19950301, 19960101, 19960201});
    EXPECT_EQ(buildDateGroups(*monthly, 1, 5, groups), 2);
    EXPECT_EQ(listed(groups), (std::vector<std::pair<int, int>>{{1995, 3}, {1996, 2}}));
}

TEST(ChartTexts, DateGroupsStopAtTheEndOfTheirTable) {
    std::vector<int> dates;
    for (int year = 1900; year < 1990; ++year)
        for (int month = 1; month <= 12; ++month) dates.push_back(year * 10000 + month * 100 + 1);
    auto series = datedSeries(dates);                         // 1080 months, one day each
    series->priceTable[2].date = Fixed4::fromWhole(19000102); // daily spacing: months
    DateGroups groups;
    groups.fill({-1, -1});
    EXPECT_EQ(buildDateGroups(*series, 1, 1080, groups), kMaxDateGroups);
    EXPECT_EQ(groups[kMaxDateGroups].value, 196206);
    EXPECT_EQ(groups[kMaxDateGroups + 1].value, 0);
    EXPECT_EQ(groupLabel(199901), QStringLiteral(" 199901"));
}

} // namespace nimbrel
