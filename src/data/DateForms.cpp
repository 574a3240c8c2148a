#include "data/DateForms.h"

#include "data/TextForms.h"

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

// YYMMDD written with six digits, a leading zero included (080105 is 2008-01-05).
Fixed4 sixDigitDate(std::string_view digits) {
    int yymmdd = digitsValue(digits);
    return Fixed4::fromWhole(int64_t(windowedYear(yymmdd / 10000)) * 10000 + yymmdd % 10000);
}

} // namespace

int windowedYear(int twoDigitYear) {
    return twoDigitYear < 30 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

std::optional<Fixed4> textLineDate(std::string_view field) {
    // The usual field, YYYYMMDD or YYMMDD and nothing else, needs no general number reading.
    if ((field.size() == 8 || field.size() == 6) && allDigits(field)) {
        if (field.size() == 6) return sixDigitDate(field);
        return Fixed4::fromWhole(digitsValue(field));
    }
    std::string_view token = leadingNumberToken(field);
    if (token.size() == 6 && allDigits(token)) return sixDigitDate(token);
    std::optional<Fixed4> date = Fixed4::fromDouble(leadingNumber(field));
    if (!date) return std::nullopt;
    // Other writings of a six-character number (0971109, 9711.5) keep the plain 19 century.
    if (plainDecimal(*date).size() == 6) return *date + Fixed4::fromWhole(19000000);
    return date;
}

std::optional<Fixed4> compactDate(std::string_view text) {
    if (text.size() == 6 && allDigits(text)) return sixDigitDate(text);
    std::optional<Fixed4> number = Fixed4::fromText(text);
    if (number && text.size() == 6) return *number + Fixed4::fromWhole(19000000);
    return number;
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
