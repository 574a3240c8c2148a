#pragma once

#include "data/Fixed4.h"

#include <string>
#include <string_view>

// The few fixed ways in which the program writes and reads numbers as text.

// Shortest plain decimal of a fixed-point value: no exponent, no trailing zeros, "0" for zero,
// "-" before negatives (1234.5000 is "1234.5").
std::string plainDecimal(Fixed4 value);
void appendPlainDecimal(std::string& out, Fixed4 value);

// General form of a double: at most 15 significant digits, written plainly without exponent,
// no trailing zeros ("0" for zero): what a spreadsheet cell shows for a number.
std::string generalNumber(double value);

// The number at the start of a text: leading blanks and TABs skipped, then a sign, digits,
// a decimal point and an exponent as far as they form a number. The token is empty when the
// text does not start with a number; its value is then 0.
std::string_view leadingNumberToken(std::string_view text);
double leadingNumber(std::string_view text);
