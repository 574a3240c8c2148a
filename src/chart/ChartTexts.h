#pragma once

#include "chart/ViewState.h"
#include "analysis/Bars.h"
#include "data/PriceSeries.h"

#include <QString>

#include <array>
#include <cstdint>

namespace nimbrel {

// The month (yyyymm) or year groups of the drawn days, in order; a group whose value is 0 ends
// the list. Row 0 only precedes row 1.
struct DateGroup {
    int32_t value = 0;
    int32_t count = 0;
};
inline constexpr int kMaxDateGroups = 749;
using DateGroups = std::array<DateGroup, kMaxDateGroups + 2>;

// A price, or a difference of prices, rounded to the unit of the last decimal shown and written
// in general form (1234.57 with a unit of 0.01, 1235 with 1).
QString priceText(Fixed4 value, Fixed4 decimalsUnit);
QString priceText(double value, Fixed4 decimalsUnit);

// A date of the price table as it is written: 19971109.
QString dateText(Fixed4 date);

// Title line: both heading lines, then the first and last drawn dates, and the bars' period
// when they are not days.
QString titleText(const PriceSeries& series, int firstDay, int lastDay,
                  BarPeriod bars = BarPeriod::Daily);

// The newest values, as shown in the legend: close, conversion and base of the last drawn day,
// and the spans drawn at its slot (computed kLeadSlots days before), each rounded to decimalsUnit.
struct LegendValues {
    double close = 0, conversion = 0, base = 0, span1 = 0, span2 = 0;
};
LegendValues legendValues(const PriceSeries& series, int lastDay, Fixed4 decimalsUnit);
QString legendText(const LegendValues& values);

// The label of grid price p on an axis with this step: as many decimals as the step's text
// has, or the step's own short form for a whole step.
QString priceLabel(double price, double step);

// Groups the drawn days by month (or by year for monthly and sparser data) into the table;
// groups past the table's end are not listed. Returns the number of groups.
int buildDateGroups(const PriceSeries& series, int firstDay, int lastDay, DateGroups& groups);

// The date label of a group: its value with a blank before it.
QString groupLabel(int32_t value);

} // namespace nimbrel
