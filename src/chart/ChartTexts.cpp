#include "chart/ChartTexts.h"

#include "data/TextForms.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace nimbrel {

namespace {

const PriceRow& priceRow(const PriceSeries& series, int day) {
    static const PriceRow kNone{};
    return day >= 1 && day <= series.dataCount && day <= kMaxDays
               ? series.priceTable[static_cast<size_t>(day)]
               : kNone;
}

const IchimokuRow& ichimokuRow(const PriceSeries& series, int day) {
    static const IchimokuRow kNone{};
    return day >= 1 && day <= series.dataCount && day <= kMaxDays
               ? series.ichimokuTable[static_cast<size_t>(day)]
               : kNone;
}

double roundedToKeta(Fixed4 value, Fixed4 decimalsUnit) {
    return roundedToUnit(value, decimalsUnit).toDouble();
}

QString fromAscii(const std::string& text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

// The group of a date: year and month, or the year alone.
int32_t groupOf(Fixed4 date, bool byYear) {
    const int64_t whole = date.units() / Fixed4::kUnitsPerWhole -
                          (date.units() < 0 && date.units() % Fixed4::kUnitsPerWhole != 0);
    const int64_t divisor = byYear ? 10000 : 100;
    return static_cast<int32_t>(whole >= 0 ? whole / divisor : -((-whole + divisor - 1) / divisor));
}

} // namespace

QString priceText(Fixed4 value, Fixed4 decimalsUnit) {
    return fromAscii(generalNumber(roundedToUnit(value, decimalsUnit).toDouble()));
}

QString priceText(double value, Fixed4 decimalsUnit) {
    return fromAscii(generalNumber(roundedToUnit(value, decimalsUnit)));
}

QString dateText(Fixed4 date) {
    return fromAscii(generalNumber(date.toDouble()));
}

QString titleText(const PriceSeries& series, int firstDay, int lastDay, BarPeriod bars) {
    const QString period = bars == BarPeriod::Weekly    ? QStringLiteral("（週足）")
                           : bars == BarPeriod::Monthly ? QStringLiteral("（月足）")
                                                        : QString();
    return series.titleLine1 + QLatin1Char(' ') + series.titleLine2 + QStringLiteral("   ") +
           fromAscii(plainDecimal(priceRow(series, firstDay).date)) + QStringLiteral("～") +
           fromAscii(plainDecimal(priceRow(series, lastDay).date)) + period;
}

LegendValues legendValues(const PriceSeries& series, int lastDay, Fixed4 decimalsUnit) {
    LegendValues values;
    const IchimokuRow& newest = ichimokuRow(series, lastDay);
    values.close = roundedToKeta(priceRow(series, lastDay).close, decimalsUnit);
    values.conversion = roundedToKeta(newest.conversion, decimalsUnit);
    values.base = roundedToKeta(newest.base, decimalsUnit);
    if (lastDay - kLeadSlots > 0) {
        const IchimokuRow& drawnAtNewest = ichimokuRow(series, lastDay - kLeadSlots);
        values.span1 = roundedToKeta(drawnAtNewest.span1, decimalsUnit);
        values.span2 = roundedToKeta(drawnAtNewest.span2, decimalsUnit);
    }
    return values;
}

QString legendText(const LegendValues& v) {
    auto number = [](double value) { return fromAscii(generalNumber(value)); };
    return QStringLiteral("(終値") + number(v.close) + QStringLiteral(" 転換") +
           number(v.conversion) + QStringLiteral(" 基準") + number(v.base) +
           QStringLiteral(" ｽﾊﾟﾝ") + number(v.span1) + QLatin1Char(',') + number(v.span2) +
           QLatin1Char(')');
}

QString priceLabel(double price, double step) {
    const std::string stepText = signPlaceText(step);
    const size_t point = stepText.find('.');
    if (point == std::string::npos) return fromAscii(signPlaceText(price));
    return fromAscii(fixedDecimalsText(price, static_cast<int>(stepText.size() - point - 1)));
}

int buildDateGroups(const PriceSeries& series, int firstDay, int lastDay, DateGroups& groups) {
    const bool byYear = priceRow(series, 2).date - priceRow(series, 1).date > Fixed4::fromWhole(99);
    // Row k of the list, with row 0 before the first group; built in full, then cut to the table.
    std::vector<DateGroup> list(1);
    int count = 1;
    for (int day = firstDay; day <= lastDay; ++day) {
        const int32_t group = groupOf(priceRow(series, day).date, byYear);
        if (group != list.back().value || day == lastDay) {
            list.push_back({group, 0});
            const size_t k = list.size() - 1;
            if (day == lastDay) {
                if (list[k - 1].value == group) {
                    list[k].value = 0;
                    ++count;
                } else {
                    list[k].count = 1;
                    list.push_back({0, 0});
                }
            }
            list[k - 1].count = count;
            count = 1;
        } else {
            ++count;
        }
    }
    if (list.back().value != 0) list.push_back({0, 0});

    const size_t kept = std::min(list.size() - 1, static_cast<size_t>(kMaxDateGroups));
    for (size_t k = 0; k <= kept; ++k) groups[k] = list[k];
    if (groups[kept].value != 0) groups[kept + 1].value = 0;
    int listed = 0;
    while (listed < kMaxDateGroups && groups[static_cast<size_t>(listed) + 1].value != 0) ++listed;
    return listed;
}

QString groupLabel(int32_t value) {
    return QLatin1Char(' ') + QString::number(value);
}

} // namespace nimbrel
