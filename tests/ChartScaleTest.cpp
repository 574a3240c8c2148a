#include "chart/AxisScale.h"
#include "chart/ChartMapping.h"
#include "chart/ViewOperations.h"

#include "Printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace nimbrel {

namespace {

Fixed4 price(const char* text) {
    return *Fixed4::fromText(text);
}

} // namespace

TEST(ChartScale, AutomaticStepGivesAtLeastTwentyIntervals) {
    struct Case {
        const char *high, *low;
        double step, top;
        const char* bottom;
    };
    const Case cases[] = {
        {"5000", "4000", 50, 5000, "4000"},       {"1234", "1150", 2, 1234, "1150"},
        {"9.87", "8.12", 0.05, 9.9, "8.1"},       {"8.1", "8.1", 0.05, 8.15, "8.05"},
        {"1500", "1500", 5, 1505, "1495"},        {"1503", "1503", 5, 1510, "1495"},
        {"25000", "100", 1000, 25000, "0"},       {"-5", "-20", 0.5, -5, "-20"},
        {"12000000", "0", 500000, 12000000, "0"}, {"1000", "500", 20, 1000, "500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.high) + " " + c.low);
        const AxisScale axis = axisScale(price(c.high), price(c.low), 0);
        EXPECT_DOUBLE_EQ(axis.step, c.step);
        EXPECT_NEAR(axis.top, c.top, 1e-9);
        EXPECT_EQ(axis.bottom, price(c.bottom));
    }
}

TEST(ChartScale, AUserStepIsUsedUnchanged) {
    AxisScale axis = axisScale(price("5000"), price("4000"), 500);
    EXPECT_EQ(axis.step, 500);
    EXPECT_EQ(axis.intervals(), 2);
    axis =
        axisScale(price("9.87"), price("8.12"), 0.05f); // typed as 0.05, held in single precision
    EXPECT_EQ(axis.step, 0.05);
    EXPECT_EQ(axis.bottom, price("8.1"));
    axis = axisScale(price("1500"), price("1500"), 10); // flat: one step each side
    EXPECT_EQ(axis.top, 1510);
    EXPECT_EQ(axis.bottom, price("1490"));
}

TEST(ChartScale, VisibleRangeScansTheDrawnDays) {
    auto series = std::make_unique<PriceSeries>();
    series->dataCount = 300;
    for (int d = 1; d <= 300; ++d) {
        series->priceTable[d].high = Fixed4::fromWhole(1000 + d);
        series->priceTable[d].low = Fixed4::fromWhole(900 - d);
    }
    ViewState view;
    scanVisibleRange(*series, view);
    EXPECT_EQ(view.firstDay, 181); // the newest 120 days
    EXPECT_EQ(view.visibleHigh, Fixed4::fromWhole(1300));
    EXPECT_EQ(view.visibleLow, Fixed4::fromWhole(600));

    view.endOffset = 50;
    scanVisibleRange(*series, view);
    EXPECT_EQ(view.visibleHigh, Fixed4::fromWhole(1250));

    view.firstDay = 0;
    view.maxLength = 500;
    scanVisibleRange(*series, view);
    EXPECT_EQ(view.firstDay, 1);

    view.endOffset = 400; // nothing drawn: the start values stay
    scanVisibleRange(*series, view);
    EXPECT_EQ(view.visibleHigh, Fixed4::fromWhole(0));
    EXPECT_EQ(view.visibleLow, Fixed4::fromWhole(1'000'000'000));

    // A low above 16.7 million units stays exact.
    series->priceTable[1].low = price("16777217.0001");
    series->priceTable[1].high = price("16777218");
    series->dataCount = 1;
    view = ViewState();
    scanVisibleRange(*series, view);
    EXPECT_EQ(view.visibleLow, price("16777217.0001"));
}

TEST(ChartScale, DaysAndPricesMapBothWays) {
    const DayMapping days{1000, 50, 181};
    EXPECT_EQ(days.x(181), 1050);
    EXPECT_EQ(days.x(300 + 25), 1000 + 145 * 50);
    for (int day = 170; day <= 330; ++day) {
        EXPECT_EQ(days.dayAt(days.x(day)), day);
        EXPECT_EQ(days.dayAt(days.x(day) + 24), day);
        EXPECT_EQ(days.dayAt(days.x(day) - 25), day);
    }
    EXPECT_EQ(days.dayAt(1000 + 75), 182);          // a slot boundary rounds up
    EXPECT_EQ((DayMapping{0, 0, 5}.dayAt(100)), 4); // no layout yet

    const PriceMapping linear{false, 5000, 4000, 500, 2000};
    EXPECT_EQ(*linear.y(5000), 500);
    EXPECT_EQ(*linear.y(4500), 1500);
    EXPECT_EQ(*linear.y(4000), 2500);
    EXPECT_DOUBLE_EQ(linear.priceAt(1500), 4500);
    EXPECT_EQ(*linear.clampedY(6000), 480);
    EXPECT_EQ(*linear.clampedY(3000), 2520);
    EXPECT_EQ(*linear.clampedY(4000), 2500);

    const PriceMapping log{true, std::log(2000.0), std::log(1000.0), 0, 1000};
    EXPECT_NEAR(*log.y(1100), (std::log(2000.0) - std::log(1100.0)) / std::log(2.0) * 1000, 1e-9);
    EXPECT_NEAR(*log.y(1100) / 1000, 0.8625, 1e-4);
    EXPECT_NEAR(log.priceAt(*log.y(1234)), 1234, 1e-9);
    EXPECT_FALSE(log.y(0).has_value());
    EXPECT_FALSE(log.clampedY(-3).has_value());
}

} // namespace nimbrel
