#pragma once

#include "data/Fixed4.h"
#include "workbook/WorksheetCells.h"

#include <optional>
#include <string_view>

namespace nimbrel {

// Dates are held as the number YYYYMMDD. These read the forms in which data files write them.

// A two-digit year 00..29 is 20YY and 30..99 is 19YY.
int windowedYear(int twoDigitYear);

// A date written as digits alone: eight are YYYYMMDD, six YYMMDD with the two-digit year's
// century. A real calendar day only (days before 1900 too); anything else is nullopt.
[[nodiscard]] std::optional<Fixed4> digitsDate(std::string_view digits);

// The date field of a text day line: digits as digitsDate reads them, or a calendar date as
// calendarDateText reads it. Anything else, or no real calendar day: nullopt.
[[nodiscard]] std::optional<Fixed4> textLineDate(std::string_view field);

// A worksheet date in compact form: a text of digits as digitsDate reads them, blanks around
// it allowed.
[[nodiscard]] std::optional<Fixed4> compactDate(std::string_view text);

// A compact date stored as a number: a spreadsheet drops its leading zeros (000104 is kept as
// 104), so its digits are padded with zeros to six before they are read as digitsDate does.
[[nodiscard]] std::optional<Fixed4> compactNumberDate(double value);

// A date written as year, month and day separated by "/", "-" or "." (97/11/09, 1997/11/09,
// 1997-11-9) or as 1997年11月9日. A real calendar date only; otherwise nullopt.
[[nodiscard]] std::optional<Fixed4> calendarDateText(std::string_view text);

// A workbook's serial day as the date a spreadsheet shows for it; a time of day is dropped. In
// the 1900 system day 1 is 1900-01-01 and day 60 is the 1900-02-29 that spreadsheets count
// although it never was; in the 1904 system day 0 is 1904-01-01. Before the first day, that
// day 60, after 9999-12-31 or not a number: nullopt.
[[nodiscard]] std::optional<Fixed4> serialDate(double serial, DateSystem system);

// YYYYMMDD of a valid calendar date, otherwise nullopt.
[[nodiscard]] std::optional<Fixed4> dateNumber(int year, int month, int day);

} // namespace nimbrel
