#pragma once

#include "data/DataFileLoader.h"

namespace nimbrel {

// The loader's messages, worded once for both kinds of file.
LoadFailure cannotOpenFailure(const QString& path);
LoadFailure cannotReadFailure(const QString& path);
LoadFailure sheetNameFailure();
LoadFailure unreadableDayFailure(int64_t line, int daysKept);
LoadFailure tooManyDaysFailure();

// Stores one day at row `day` (1..kMaxDays) of the series.
void storeDay(PriceSeries& series, int day, const PriceRow& row);

} // namespace nimbrel
