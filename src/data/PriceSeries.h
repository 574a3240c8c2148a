#pragma once

#include "data/Fixed4.h"

#include <QString>

#include <array>
#include <cstdint>

namespace nimbrel {

inline constexpr int32_t kMaxDays = 15000;

struct PriceRow {
    Fixed4 date; // YYYYMMDD as a number, for example 19971109
    Fixed4 open; // also the only price of a one-price day
    Fixed4 high;
    Fixed4 low;
    Fixed4 close;
};

// Each value sits in the row of the last day of its window; the drawing shifts the spans.
struct IchimokuRow {
    Fixed4 conversion; // 9-day midpoint, from day 9
    Fixed4 base;       // 26-day midpoint, from day 26
    Fixed4 span1;      // mean of conversion and base, from day 27
    Fixed4 span2;      // 52-day midpoint, from day 52
};

// The one loaded security. Days are rows 1..dataCount; row 0 is never a day and stays zero.
// About 1.2 MB, so it lives on the heap or inside the window that owns it.
struct PriceSeries {
    std::array<PriceRow, kMaxDays + 1> priceTable{};
    std::array<IchimokuRow, kMaxDays + 1> ichimokuTable{};
    int32_t dataCount = 0;
    QString titleLine1;
    QString titleLine2;
    int16_t priceFieldCount = 0; // 4 with open, high, low and close; 1 with one price a day
};

} // namespace nimbrel
