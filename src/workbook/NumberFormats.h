#pragma once

#include <cstdint>
#include <string_view>

namespace nimbrel {

// Whether a cell's number format shows a date: numbers in such cells are serial days.

// A format text is a date format when, outside quoted texts, escaped characters and brackets,
// it has a year, month, day, era or time code.
bool isDateFormatText(std::string_view format);

// The built-in formats that show dates and times, as spreadsheets number them.
bool isBuiltInDateFormat(uint16_t index);

} // namespace nimbrel
