#include "ichimoku/Ichimoku.h"

#include "IchimokuRescan.h"
#include "Printers.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace nimbrel {

namespace {

std::unique_ptr<PriceSeries> seriesOf(const std::vector<std::pair<int64_t, int64_t>>& highLow) {
    auto series = std::make_unique<PriceSeries>();
    int day = 0;
    for (auto [high, low] : highLow) {
        ++day;
        series->priceTable[day].high = Fixed4::fromUnits(high);
        series->priceTable[day].low = Fixed4::fromUnits(low);
    }
    series->dataCount = day;
    return series;
}

} // namespace

TEST(Ichimoku, EachLineStartsAtTheLastDayOfItsFirstWindowAndRoundsTiesToEven) {
    // The plain rescan also checks that every cell before a line's first window stays zero.
    for (int days : {0, 8, 9, 25, 26, 27, 51, 52, 53}) {
        std::vector<std::pair<int64_t, int64_t>> prices;
        for (int d = 1; d <= days; ++d) prices.push_back({(100 + d) * 10000, (90 + d) * 10000});
        auto series = seriesOf(prices);
        computeIchimoku(*series);
        SCOPED_TRACE(days);
        expectEqualsRescan(*series);
        if (days >= 9) {
            EXPECT_EQ(series->ichimokuTable[9].conversion, Fixed4::fromWhole(100));
        }
    }
    const struct {
        int64_t high, low, conversion; // in units of 0.0001
    } windows[] = {
        {3, 0, 2},                // 0.00015 rounds to the even 0.0002
        {1, 0, 0},                // 0.00005 to 0
        {-50000, -80000, -40000}, // highs below 0 keep 0 as the high: (0 - 8) / 2
        {20'000'000'000'000, 20'000'000'000'000, 14'999'999'995'000}, // lows above 999999999
    };
    for (const auto& w : windows) {
        auto series = seriesOf(std::vector<std::pair<int64_t, int64_t>>(9, {w.high, w.low}));
        computeIchimoku(*series);
        EXPECT_EQ(series->ichimokuTable[9].conversion.units(), w.conversion) << w.high;
    }
    std::vector<std::pair<int64_t, int64_t>> nine(9, {100000, 80000});
    nine[4] = {120000, 70000}; // highest 12, lowest 7: 9.5
    auto series = seriesOf(nine);
    computeIchimoku(*series);
    EXPECT_EQ(series->ichimokuTable[9].conversion, *Fixed4::fromText("9.5"));
}

TEST(Ichimoku, SlidingExtremesEqualThePlainRescanOnRandomSeries) {
    std::mt19937_64 random(20261207);
    for (int round = 0; round < 12; ++round) {
        const int days = round == 0 ? kMaxDays : static_cast<int>(random() % 700);
        std::vector<std::pair<int64_t, int64_t>> prices;
        int64_t level = static_cast<int64_t>(random() % 20000) - 5000;
        for (int d = 0; d < days; ++d) {
            level += static_cast<int64_t>(random() % 2001) - 1000;
            const int64_t spread = static_cast<int64_t>(random() % 500);
            // Zero and negative prices appear on purpose: the start values must still rule.
            prices.push_back({random() % 17 == 0 ? 0 : level + spread, level - spread});
        }
        auto series = seriesOf(prices);
        computeIchimoku(*series);
        expectEqualsRescan(*series);
    }
}

} // namespace nimbrel
