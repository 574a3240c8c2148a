#include "data/DateForms.h"

#include <QDate>

#include <cmath>
#include <string>

namespace nimbrel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!isDigit(c)) return false;
    return true;
}

int digitsValue(std::string_view s) {
    int value = 0;
    for (char c : s) value = value * 10 + (c - '0');
    return value;
}

} // namespace

int windowedYear(int twoDigitYear) {
    return twoDigitYear < 30 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

std::optional<Fixed4> digitsDate(std::string_view digits) {
    if (!allDigits(digits)) return std::nullopt;
    if (digits.size() == 6) {
        const int yymmdd = digitsValue(digits);
        return dateNumber(windowedYear(yymmdd / 10000), yymmdd / 100 % 100, yymmdd % 100);
    }
    if (digits.size() != 8) return std::nullopt;
    const int yyyymmdd = digitsValue(digits);
    return dateNumber(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
}

std::optional<Fixed4> textLineDate(std::string_view field) {
    if (std::optional<Fixed4> date = digitsDate(field)) return date;
    return calendarDateText(field);
}

std::optional<Fixed4> compactDate(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return std::nullopt;
    return digitsDate(text.substr(begin, text.find_last_not_of(" \t") - begin + 1));
}

std::optional<Fixed4> compactNumberDate(double value) {
    if (!(value >= 0 && value < 1e8) || value != std::floor(value)) return std::nullopt;
    std::string digits = std::to_string(static_cast<int64_t>(value));
    if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
    return digitsDate(digits);
}

std::optional<Fixed4> dateNumber(int year, int month, int day) {
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day)) return std::nullopt;
    return Fixed4::fromWhole(int64_t(year) * 10000 + month * 100 + day);
}

std::optional<Fixed4> calendarDateText(std::string_view text) {
    // Split into three runs of digits joined by one separator each.
    std::string_view parts[3];
    // 1997年11月9日 reads as 1997/11/9.
    std::string s;
    for (size_t at = 0; at < text.size();) {
        std::string_view rest = text.substr(at);
        if (rest.starts_with("年") || rest.starts_with("月")) {
            s.push_back('/');
            at += 3;
        } else if (rest.starts_with("日") &&
                   rest.find_first_not_of(" \t", 3) == std::string_view::npos) {
            break;
        } else {
            s.push_back(text[at++]);
        }
    }
    size_t begin = s.find_first_not_of(" \t");
    size_t end = s.find_last_not_of(" \t");
    if (begin == std::string::npos) return std::nullopt;
    std::string_view view(s.data() + begin, end - begin + 1);
    char separator = 0;
    for (int i = 0; i < 3; ++i) {
        size_t length = 0;
        while (length < view.size() && isDigit(view[length])) ++length;
        parts[i] = view.substr(0, length);
        if (length == 0 || length > 4) return std::nullopt;
        view.remove_prefix(length);
        if (i == 2) break;
        if (view.empty()) return std::nullopt;
        char c = view.front();
        if (c != '/' && c != '-' && c != '.') return std::nullopt;
        if (separator != 0 && c != separator) return std::nullopt;
        separator = c;
        view.remove_prefix(1);
    }
    if (!view.empty() || parts[1].size() > 2 || parts[2].size() > 2) return std::nullopt;
    int year = digitsValue(parts[0]);
    if (parts[0].size() == 2)
        year = windowedYear(year);
    else if (parts[0].size() != 4)
        return std::nullopt;
    return dateNumber(year, digitsValue(parts[1]), digitsValue(parts[2]));
}

std::optional<Fixed4> serialDate(double serial, DateSystem system) {
    constexpr double kLastDay1900 = 2958465, kLastDay1904 = 2957003; // 9999-12-31
    constexpr double kMissingLeapDay = 60;
    if (!std::isfinite(serial)) return std::nullopt;
    const double day = std::floor(serial);
    QDate date;
    if (system == DateSystem::From1904) {
        if (day < 0 || day > kLastDay1904) return std::nullopt;
        date = QDate(1904, 1, 1).addDays(static_cast<qint64>(day));
    } else {
        if (day < 1 || day > kLastDay1900 || day == kMissingLeapDay) return std::nullopt;
        const QDate dayZero = day < kMissingLeapDay ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
        date = dayZero.addDays(static_cast<qint64>(day));
    }
    return dateNumber(date.year(), date.month(), date.day());
}

} // namespace nimbrel
