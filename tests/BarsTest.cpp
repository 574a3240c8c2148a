#include "analysis/Bars.h"

#include "ichimoku/Ichimoku.h"

#include "IchimokuRescan.h"
#include "Printers.h"

#include <QDate>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace nimbrel {

namespace {

// Days or bars as a data file writes them, "date open high low close" or "date price", apart
// by ";"; every row of one series has as many prices as the first.
std::unique_ptr<PriceSeries> seriesOf(const std::string& rows) {
    auto series = std::make_unique<PriceSeries>();
    series->titleLine1 = QStringLiteral("見本　日足");
    series->titleLine2 = QStringLiteral("単位：円");
    series->priceFieldCount = 4;
    std::istringstream text(rows);
    for (std::string row; std::getline(text, row, ';');) {
        std::istringstream fields(row);
        int64_t date = 0, price[4] = {};
        int count = 0;
        for (fields >> date; count < 4 && fields >> price[count];) ++count;
        if (count == 1) price[1] = price[2] = price[3] = price[0];
        if (series->dataCount == 0 && count == 1) series->priceFieldCount = 1;
        series->priceTable[++series->dataCount] = {
            Fixed4::fromWhole(date), Fixed4::fromWhole(price[0]), Fixed4::fromWhole(price[1]),
            Fixed4::fromWhole(price[2]), Fixed4::fromWhole(price[3])};
    }
    return series;
}

// Bars must leave nothing of what the series held before.
void fillWithLeftovers(PriceSeries& series) {
    const Fixed4 junk = Fixed4::fromWhole(7);
    series.priceTable.fill({junk, junk, junk, junk, junk});
    series.ichimokuTable.fill({junk, junk, junk, junk});
    series.dataCount = 77;
    series.priceFieldCount = 4;
}

void expectBars(const PriceSeries& bars, const PriceSeries& expected) {
    ASSERT_EQ(bars.dataCount, expected.dataCount);
    for (int b = 0; b <= kMaxDays; ++b) {
        const PriceRow &got = bars.priceTable[b], &want = expected.priceTable[b];
        ASSERT_EQ(got.date, want.date) << "bar " << b;
        ASSERT_EQ(got.open, want.open) << "bar " << b;
        ASSERT_EQ(got.high, want.high) << "bar " << b;
        ASSERT_EQ(got.low, want.low) << "bar " << b;
        ASSERT_EQ(got.close, want.close) << "bar " << b;
    }
    EXPECT_EQ(bars.titleLine1, expected.titleLine1);
    EXPECT_EQ(bars.titleLine2, expected.titleLine2);
    EXPECT_EQ(bars.priceFieldCount, expected.priceFieldCount);
    const Fixed4 zero;
    for (int b = 0; b <= kMaxDays; ++b) {
        const IchimokuRow& row = bars.ichimokuTable[b];
        ASSERT_TRUE(row.conversion == zero && row.base == zero && row.span1 == zero &&
                    row.span2 == zero)
            << "Ichimoku row " << b << " left over";
    }
}

} // namespace

TEST(Bars, CalendarWeeksAndMonthsTakeOpenHighLowCloseAndTheLastDaysDate) {
    // Mon 29 Jan 2024 .. Mon 5 Feb.
    const char* monthEnd = "20240129 10 12 9 11; 20240131 11 15 10 14; 20240202 14 14 8 9;"
                           "20240205 9 10 7 8";
    // Sun 30 Dec 2018, Mon 31 Dec .. Sun 6 Jan 2019, Mon 7 Jan.
    const char* yearEnd = "20181230 20 21 19 20; 20181231 20 25 18 24; 20190103 24 26 22 23;"
                          "20190106 23 24 21 22; 20190107 22 23 20 21";
    // Mon 28 Feb 2000 .. Fri 3 Mar.
    const char* leapDay = "20000228 70 71 69 70; 20000229 70 72 68 71; 20000301 71 73 70 72;"
                          "20000303 72 74 71 73";
    const char* onePrice = "20240129 100; 20240131 90; 20240202 95; 20240205 80";
    const struct {
        const char* name;
        BarPeriod period;
        const char *days, *bars;
    } cases[] = {
        {"a week across a month end", BarPeriod::Weekly, monthEnd,
         "20240202 10 15 8 9; 20240205 9 10 7 8"},
        {"the months of the same days", BarPeriod::Monthly, monthEnd,
         "20240131 10 15 9 14; 20240205 14 14 7 8"},
        {"a week split across two years, from Monday to Sunday", BarPeriod::Weekly, yearEnd,
         "20181230 20 21 19 20; 20190106 20 26 18 22; 20190107 22 23 20 21"},
        {"the months of a year end", BarPeriod::Monthly, yearEnd,
         "20181231 20 25 18 24; 20190107 24 26 20 21"},
        {"the 53rd week of 2020 runs into 2021 (Mon 28 Dec .. Sun 3 Jan)", BarPeriod::Weekly,
         "20201225 30 31 29 30; 20201228 30 33 29 32; 20201231 32 34 31 33;"
         "20210101 33 35 30 31; 20210103 31 32 28 29; 20210104 29 30 27 28",
         "20201225 30 31 29 30; 20210103 30 35 28 29; 20210104 29 30 27 28"},
        {"a holiday week of one trading day", BarPeriod::Weekly,
         "20190422 40 42 39 41; 20190426 41 44 40 43; 20190501 43 45 42 44; 20190507 44 46 41 42",
         "20190426 40 44 39 43; 20190501 43 45 42 44; 20190507 44 46 41 42"},
        {"months of one trading day", BarPeriod::Monthly,
         "20190830 50 52 49 51; 20190917 51 55 50 54; 20191001 54 56 53 55; 20191002 55 57 52 53",
         "20190830 50 52 49 51; 20190917 51 55 50 54; 20191002 54 57 52 53"},
        {"29 February 2000 is in its week", BarPeriod::Weekly, leapDay, "20000303 70 74 68 73"},
        {"29 February 2000 is in February", BarPeriod::Monthly, leapDay,
         "20000229 70 72 68 71; 20000303 71 74 70 73"},
        {"1900 has no 29 February: it stands alone in the week of Mon 26 Feb", BarPeriod::Weekly,
         "19000226 60 61 59 60; 19000228 60 62 58 61; 19000229 61 63 60 62;"
         "19000301 62 64 61 63; 19000302 63 65 62 64",
         "19000228 60 62 58 61; 19000229 61 63 60 62; 19000302 62 65 61 64"},
        {"dates that are no calendar days stand alone", BarPeriod::Monthly,
         "20240305 10 11 9 10; 20240300 11 12 10 11; 20240306 12 13 11 12; 20240307 13 14 12 13;"
         "20241301 14 15 13 14; 0 15 16 14 15",
         "20240305 10 11 9 10; 20240300 11 12 10 11; 20240307 12 14 11 13;"
         "20241301 14 15 13 14; 0 15 16 14 15"},
        {"a day back in an earlier week starts a bar of its own", BarPeriod::Weekly,
         "20240304 10 11 9 10; 20240311 10 12 9 11; 20240305 11 13 10 12",
         "20240304 10 11 9 10; 20240311 10 12 9 11; 20240305 11 13 10 12"},
        {"a day back in an earlier month starts a bar of its own", BarPeriod::Monthly,
         "20240131 10 11 9 10; 20240215 10 12 9 11; 20240130 11 13 10 12",
         "20240131 10 11 9 10; 20240215 10 12 9 11; 20240130 11 13 10 12"},
        {"daily bars are the days", BarPeriod::Daily, monthEnd, monthEnd},
        {"no days, no bars", BarPeriod::Weekly, "", ""},
        {"one-price weeks take the last day's price", BarPeriod::Weekly, onePrice,
         "20240202 95; 20240205 80"},
        {"one-price months take the last day's price", BarPeriod::Monthly, onePrice,
         "20240131 90; 20240205 80"},
    };
    auto bars = std::make_unique<PriceSeries>();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto days = seriesOf(c.days);
        const auto expected = seriesOf(c.bars);
        expected->priceFieldCount = days->priceFieldCount; // also when there are no bars
        fillWithLeftovers(*bars);
        makeBars(*days, c.period, *bars);
        expectBars(*bars, *expected);
        makeBars(*days, c.period, *days); // in place
        expectBars(*days, *expected);
    }
}

TEST(Bars, WeeklyAndMonthlyBarsOfManyYearsMatchQDatesCalendarAndTheIchimokuRescan) {
    // 15000 days with gaps of one to six days run from 1890 past 2030, over 1900 (no leap
    // year) and 2000 (a leap year).
    std::mt19937_64 random(19991102);
    auto days = std::make_unique<PriceSeries>();
    std::vector<QDate> dates;
    QDate date(1890, 1, 1);
    int64_t level = 500'0000;
    for (int d = 1; d <= kMaxDays; ++d) {
        date = date.addDays(1 + static_cast<int>(random() % 6));
        dates.push_back(date);
        level += static_cast<int64_t>(random() % 2001) - 1000;
        const int64_t reach = static_cast<int64_t>(random() % 500);
        days->priceTable[d] = {
            Fixed4::fromWhole(date.year() * 10000 + date.month() * 100 + date.day()),
            Fixed4::fromUnits(level), Fixed4::fromUnits(level + reach),
            Fixed4::fromUnits(level - reach), Fixed4::fromUnits(level + reach / 2)};
    }
    days->dataCount = kMaxDays;
    days->priceFieldCount = 4;
    ASSERT_GT(dates.back().year(), 2030);

    const struct {
        BarPeriod period;
        qint64 (*periodOf)(QDate);
    } periods[] = {
        {BarPeriod::Weekly, [](QDate d) { return d.toJulianDay() - d.dayOfWeek(); }},
        {BarPeriod::Monthly, [](QDate d) { return qint64{d.year()} * 12 + d.month(); }},
    };
    auto bars = std::make_unique<PriceSeries>();
    for (const auto& p : periods) {
        SCOPED_TRACE(p.period == BarPeriod::Weekly ? "weekly" : "monthly");
        auto expected = std::make_unique<PriceSeries>();
        expected->priceFieldCount = 4;
        auto& want = expected->priceTable;
        for (int d = 1; d <= kMaxDays; ++d) {
            const PriceRow& day = days->priceTable[d];
            if (d == 1 || p.periodOf(dates[d - 1]) != p.periodOf(dates[d - 2])) {
                want[++expected->dataCount] = day;
            }
            PriceRow& bar = want[expected->dataCount];
            bar = {day.date, bar.open, std::max(bar.high, day.high), std::min(bar.low, day.low),
                   day.close};
        }
        makeBars(*days, p.period, *bars);
        expectBars(*bars, *expected);
        computeIchimoku(*bars);
        expectEqualsRescan(*bars);
    }
}

} // namespace nimbrel
