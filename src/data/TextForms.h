#pragma once

#include "data/Fixed4.h"

#include <QString>

#include <string>
#include <string_view>

namespace nimbrel {

// The few fixed ways in which the program writes and reads numbers as text.

// Shortest plain decimal of a fixed-point value: no exponent, no trailing zeros, "0" for zero,
// "-" before negatives (1234.5000 is "1234.5").
std::string plainDecimal(Fixed4 value);
// The same written at `to`, which has room for kPlainDecimalRoom characters; where it ends.
inline constexpr size_t kPlainDecimalRoom = 25;
char* writePlainDecimal(char* to, Fixed4 value);

// A value rounded to a whole number of units (0.01 keeps two decimals): halves round up, towards
// plus infinity, for negative values too. A unit of 0 or below leaves the value as it is. A
// fixed-point value is rounded exactly: -2.345 is -2.34 and 1234.565 is 1234.57, where a
// double would stand a hair beside the half.
Fixed4 roundedToUnit(Fixed4 value, Fixed4 unit);
double roundedToUnit(double value, Fixed4 unit);

// General form of a double: at most 15 significant digits, written plainly without exponent,
// no trailing zeros ("0" for zero): what a spreadsheet cell shows for a number.
std::string generalNumber(double value);

// The short form with a sign place: a blank before a number that is not negative, and no 0
// before the decimal point (0.05 is " .05", -0.5 is "-.5", 50 is " 50").
std::string signPlaceText(double value);

// A number with exactly `decimals` digits after the point, rounded half away from zero, and no
// 0 before the point when the whole part is 0 (8.1 with 2 is "8.10", 0.5 with 1 is ".5").
std::string fixedDecimalsText(double value, int decimals);

// A number or date as typed with a Japanese keyboard's wide characters, in its ASCII form:
// full-width digits, signs, points, commas and slashes, the minus sign and the ideographic
// space become 0-9, + - . , / and a blank. Other characters stay as they are.
std::string asciiNumberForms(std::string_view utf8);
QString asciiNumberForms(const QString& text);

// The number at the start of a text: leading blanks and TABs skipped, then a sign, digits,
// a decimal point and an exponent as far as they form a number. The token is empty when the
// text does not start with a number; its value is then 0.
std::string_view leadingNumberToken(std::string_view text);
double leadingNumber(std::string_view text);

} // namespace nimbrel
