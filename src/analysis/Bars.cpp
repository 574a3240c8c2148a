#include "analysis/Bars.h"

#include <algorithm>
#include <chrono>
#include <optional>

namespace nimbrel {

namespace {

// The period a date falls in, as a number that differs between periods: the day count of the
// week's Monday, or the month counted from year 0. A date that is no calendar day has none.
std::optional<int64_t> periodKey(Fixed4 date, BarPeriod period) {
    using namespace std::chrono;
    const int64_t units = date.units();
    if (units % Fixed4::kUnitsPerWhole != 0) return std::nullopt;
    const int64_t number = units / Fixed4::kUnitsPerWhole;
    if (number < 10101 || number > 99991231) return std::nullopt;
    const auto yearNumber = static_cast<int>(number / 10000);
    const auto monthNumber = static_cast<unsigned>(number / 100 % 100);
    const year_month_day calendarDay{year{yearNumber}, month{monthNumber},
                                     day{static_cast<unsigned>(number % 100)}};
    if (!calendarDay.ok()) return std::nullopt;
    if (period == BarPeriod::Monthly) return int64_t{yearNumber} * 12 + (monthNumber - 1);
    const sys_days day{calendarDay};
    const sys_days monday = day - (weekday{day} - Monday);
    return monday.time_since_epoch().count();
}

} // namespace

void makeBars(const PriceSeries& days, BarPeriod period, PriceSeries& bars) {
    const int dayCount = std::clamp(days.dataCount, 0, kMaxDays);
    const bool onePrice = days.priceFieldCount == 1;
    if (&bars != &days) {
        bars.titleLine1 = days.titleLine1;
        bars.titleLine2 = days.titleLine2;
        bars.priceFieldCount = days.priceFieldCount;
    }
    // Bar k is written only once day k or a later one has been read, so the days may be
    // overwritten by their own bars.
    int barCount = 0;
    PriceRow bar{};
    std::optional<int64_t> previousKey;
    for (int d = 1; d <= dayCount; ++d) {
        const PriceRow day = days.priceTable[d];
        const std::optional<int64_t> key =
            period == BarPeriod::Daily ? std::nullopt : periodKey(day.date, period);
        if (d == 1 || !key || !previousKey || *key != *previousKey) {
            if (d > 1) bars.priceTable[++barCount] = bar;
            bar = day;
        } else {
            bar.high = std::max(bar.high, day.high);
            bar.low = std::min(bar.low, day.low);
        }
        bar.date = day.date;
        bar.close = day.close;
        if (onePrice) bar.high = bar.low = bar.close = bar.open = day.open;
        previousKey = key;
    }
    if (dayCount > 0) bars.priceTable[++barCount] = bar;
    bars.dataCount = barCount;
    std::fill(bars.priceTable.begin() + barCount + 1, bars.priceTable.end(), PriceRow{});
    bars.priceTable[0] = PriceRow{};
    bars.ichimokuTable.fill(IchimokuRow{});
}

int barOfDate(const PriceSeries& bars, Fixed4 date) {
    const int count = std::clamp(bars.dataCount, 0, kMaxDays);
    for (int b = 1; b <= count; ++b) {
        if (bars.priceTable[b].date >= date) return b;
    }
    return 0;
}

} // namespace nimbrel
