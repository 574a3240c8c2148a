#include "workbook/XlsxValues.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

namespace nimbrel::xlsx {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A plain decimal ("1513.9", "-0.25"), as nearly every number of a sheet is written, read
// without the general parser: its digits, 15 at most, are a double exactly, and so is a power of
// ten up to 10^15; one division of the two rounds as reading the text does.
std::optional<double> plainDecimal(std::string_view text) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = text.starts_with('-');
    size_t at = negative ? 1 : 0;
    const size_t wholeFrom = at;
    uint64_t digits = 0;
    for (; at < text.size() && isDigit(text[at]); ++at)
        digits = digits * 10 + uint64_t(text[at] - '0');
    if (at == wholeFrom) return std::nullopt;
    size_t fractionDigits = 0;
    if (at < text.size() && text[at] == '.') {
        const size_t fractionFrom = ++at;
        for (; at < text.size() && isDigit(text[at]); ++at)
            digits = digits * 10 + uint64_t(text[at] - '0');
        fractionDigits = at - fractionFrom;
        if (fractionDigits == 0) return std::nullopt;
    }
    if (at != text.size() || at - wholeFrom - (fractionDigits > 0) > 15) return std::nullopt;
    const double value = static_cast<double>(digits) / kPowersOfTen[fractionDigits];
    return negative ? -value : value;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t daysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Reads `width` digits at the front of `text`.
bool takeDigits(std::string_view& text, size_t width, int& value) {
    if (text.size() < width) return false;
    value = 0;
    for (size_t i = 0; i < width; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(width);
    return true;
}

bool take(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

// "hh:mm", "hh:mm:ss" or "hh:mm:ss.fff" as a fraction of a day.
std::optional<double> timeOfDay(std::string_view text) {
    int hour = 0, minute = 0, second = 0;
    if (!takeDigits(text, 2, hour) || !take(text, ':') || !takeDigits(text, 2, minute))
        return std::nullopt;
    double seconds = 0;
    if (take(text, ':')) {
        if (!takeDigits(text, 2, second)) return std::nullopt;
        seconds = second;
        // Fractions of a second, to the millisecond a spreadsheet keeps.
        if (take(text, '.')) {
            if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
                return std::nullopt;
            double scale = 0.1;
            for (size_t i = 0; i < text.size() && i < 9; ++i, scale /= 10)
                seconds += (text[i] - '0') * scale;
            text = {};
        }
    }
    if (!text.empty() || hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return (hour * 3600.0 + minute * 60.0 + seconds) / 86400.0;
}

} // namespace

std::optional<CellPosition> cellPosition(std::string_view reference) {
    size_t at = 0;
    int column = 0;
    for (; at < reference.size() && at < 4; ++at) {
        const char c = reference[at];
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        if (upper < 'A' || upper > 'Z') break;
        column = column * 26 + (upper - 'A' + 1);
    }
    if (at == 0 || at > 3 || column > kMaxColumns) return std::nullopt;
    int row = 0;
    const size_t digitsAt = at;
    for (; at < reference.size(); ++at) {
        const char c = reference[at];
        if (c < '0' || c > '9' || at - digitsAt >= 7) return std::nullopt;
        row = row * 10 + (c - '0');
    }
    if (row < 1 || row > kMaxRows) return std::nullopt;
    return CellPosition{row - 1, column - 1};
}

std::optional<uint32_t> unsignedValue(std::string_view digits) {
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::optional<double> numberValue(std::string_view text) {
    text = trimmed(text);
    if (const std::optional<double> plain = plainDecimal(text)) return plain;
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> booleanValue(std::string_view text) {
    text = trimmed(text);
    if (text == "1" || text == "true") return true;
    if (text == "0" || text == "false") return false;
    return std::nullopt;
}

double errorCode(std::string_view text) {
    static constexpr struct {
        std::string_view text;
        double code;
    } kCodes[] = {{"#NULL!", 0x00}, {"#DIV/0!", 0x07}, {"#VALUE!", 0x0F}, {"#REF!", 0x17},
                  {"#NAME?", 0x1D}, {"#NUM!", 0x24},   {"#N/A", 0x2A}};
    for (const auto& known : kCodes)
        if (known.text == trimmed(text)) return known.code;
    return kDamagedCellCode;
}

std::optional<double> isoDateSerial(std::string_view text, DateSystem system) {
    text = trimmed(text);
    if (!text.empty() && text.back() == 'Z') text.remove_suffix(1);
    if (text.size() >= 3 && text[2] == ':') return timeOfDay(text);
    int year = 0, month = 0, day = 0;
    if (!takeDigits(text, 4, year) || !take(text, '-') || !takeDigits(text, 2, month) ||
        !take(text, '-') || !takeDigits(text, 2, day) || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month))
        return std::nullopt;
    double time = 0;
    if (take(text, 'T')) {
        const std::optional<double> fraction = timeOfDay(text);
        if (!fraction) return std::nullopt;
        time = *fraction;
    } else if (!text.empty()) {
        return std::nullopt;
    }
    const int64_t days = daysFromCivil(year, month, day);
    if (system == DateSystem::From1904) return double(days - daysFromCivil(1904, 1, 1)) + time;
    // The 1900 system counts a 29 February 1900 that never was: days before March count
    // from 1899-12-31, later ones from 1899-12-30.
    int64_t serial = days - daysFromCivil(1899, 12, 30);
    if (serial < 61) --serial;
    return double(serial) + time;
}

} // namespace nimbrel::xlsx
