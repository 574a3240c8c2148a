#pragma once

#include "data/Fixed4.h"

#include <optional>
#include <string_view>

// Dates are held as the number YYYYMMDD. These read the forms in which data files write them.

// A two-digit year 00..29 is 20YY and 30..99 is 19YY.
int windowedYear(int twoDigitYear);

// The date field of a text day line: the number it starts with (0 when it starts with none);
// six digits are YYMMDD and get their century. Too large to hold: nullopt.
[[nodiscard]] std::optional<Fixed4> textLineDate(std::string_view field);

// A worksheet date in compact form: six characters are YYMMDD, anything else is the number it
// spells (19971109). Not a number: nullopt.
[[nodiscard]] std::optional<Fixed4> compactDate(std::string_view text);

// A date written as year, month and day separated by "/", "-" or "." (97/11/09, 1997/11/09,
// 1997-11-9) or as 1997年11月9日. A real calendar date only; otherwise nullopt.
[[nodiscard]] std::optional<Fixed4> calendarDateText(std::string_view text);

// A spreadsheet serial day number (1 is 1899-12-31) as a date; outside years 1..9999: nullopt.
[[nodiscard]] std::optional<Fixed4> serialDate(double serial);

// YYYYMMDD of a valid calendar date, otherwise nullopt.
[[nodiscard]] std::optional<Fixed4> dateNumber(int year, int month, int day);
