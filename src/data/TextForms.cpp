#include "data/TextForms.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace nimbrel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

char* writePlainDecimal(char* to, Fixed4 value) {
    int64_t units = value.units();
    // Magnitudes stay below 10^18, so negating never overflows.
    if (units < 0) {
        *to++ = '-';
        units = -units;
    }
    to = std::to_chars(to, to + 20, units / Fixed4::kUnitsPerWhole).ptr;
    int fraction = static_cast<int>(units % Fixed4::kUnitsPerWhole);
    if (fraction == 0) return to;
    const char digits[5] = {'.', char('0' + fraction / 1000), char('0' + fraction / 100 % 10),
                            char('0' + fraction / 10 % 10), char('0' + fraction % 10)};
    int length = 5;
    while (digits[length - 1] == '0') --length;
    return std::copy(digits, digits + length, to);
}

std::string plainDecimal(Fixed4 value) {
    char text[kPlainDecimalRoom];
    return std::string(text, writePlainDecimal(text, value));
}

Fixed4 roundedToUnit(Fixed4 value, Fixed4 unit) {
    const int64_t step = unit.units();
    if (step <= 0) return value;
    // floor((value + step / 2) / step) in whole units; both stay far below the int64 range.
    const int64_t numerator = 2 * value.units() + step, denominator = 2 * step;
    int64_t quotient = numerator / denominator;
    if (numerator % denominator != 0 && numerator < 0) --quotient;
    return Fixed4::fromUnits(quotient * step);
}

double roundedToUnit(double value, Fixed4 unit) {
    const double step = unit.toDouble();
    if (step <= 0) return value;
    return std::floor(value / step + 0.5) * step;
}

std::string generalNumber(double value) {
    if (!std::isfinite(value)) return "0";
    if (value == 0) return "0";
    // Round to 15 significant digits first, then lay the digits out without an exponent.
    char scientific[40];
    auto end = std::to_chars(scientific, scientific + sizeof scientific, value,
                             std::chars_format::scientific, 14)
                   .ptr;
    std::string_view s(scientific, end - scientific);
    bool negative = s.front() == '-';
    if (negative) s.remove_prefix(1);
    std::string digits;
    size_t e = s.find('e');
    for (char c : s.substr(0, e))
        if (isDigit(c)) digits.push_back(c);
    int exponent = std::atoi(std::string(s.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    int pointAt = exponent + 1; // digits before the decimal point
    if (pointAt <= 0) {
        out += "0.";
        out.append(static_cast<size_t>(-pointAt), '0');
        out += digits;
    } else if (static_cast<size_t>(pointAt) >= digits.size()) {
        out += digits;
        out.append(pointAt - digits.size(), '0');
    } else {
        out += digits.substr(0, pointAt);
        out += '.';
        out += digits.substr(pointAt);
    }
    return out;
}

namespace {

// The ASCII form of a wide character of numbers, or 0 for any other.
char asciiFormOf(char32_t c) {
    if (c >= U'０' && c <= U'９') return static_cast<char>('0' + (c - U'０'));
    switch (c) {
    case U'＋':
        return '+';
    case U'－':
    case U'−':
        return '-';
    case U'．':
        return '.';
    case U'，':
        return ',';
    case U'／':
        return '/';
    case U'\u3000':
        return ' ';
    default:
        return 0;
    }
}

} // namespace

std::string asciiNumberForms(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        // Every character concerned is three bytes long in UTF-8.
        if ((lead & 0xF0) == 0xE0 && at + 2 < utf8.size()) {
            const auto second = static_cast<unsigned char>(utf8[at + 1]);
            const auto third = static_cast<unsigned char>(utf8[at + 2]);
            const bool whole = (second & 0xC0) == 0x80 && (third & 0xC0) == 0x80;
            const char32_t c = whole ? char32_t(lead & 0x0F) << 12 | char32_t(second & 0x3F) << 6 |
                                           char32_t(third & 0x3F)
                                     : 0;
            if (const char ascii = asciiFormOf(c)) {
                out.push_back(ascii);
                at += 3;
                continue;
            }
        }
        out.push_back(utf8[at++]);
    }
    return out;
}

QString asciiNumberForms(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (const char ascii = asciiFormOf(c.unicode())) c = QLatin1Char(ascii);
    return out;
}

std::string_view leadingNumberToken(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    size_t pos = start;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    size_t mantissa = 0;
    while (pos < text.size() && isDigit(text[pos])) ++pos, ++mantissa;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && isDigit(text[pos])) ++pos, ++mantissa;
    }
    if (mantissa == 0) return {};
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        size_t exp = pos + 1;
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) ++exp;
        if (exp < text.size() && isDigit(text[exp])) {
            while (exp < text.size() && isDigit(text[exp])) ++exp;
            pos = exp;
        }
    }
    return text.substr(start, pos - start);
}

double leadingNumber(std::string_view text) {
    std::string_view token = leadingNumberToken(text);
    if (token.empty()) return 0;
    double value = 0;
    if (token.front() == '+') token.remove_prefix(1);
    auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Only the exponent can carry a number out of range: far too large or too small.
        bool tiny = token.find("e-") != std::string_view::npos ||
                    token.find("E-") != std::string_view::npos;
        bool negative = token.front() == '-';
        return tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
    }
    return value;
}

std::string signPlaceText(double value) {
    std::string text = generalNumber(value);
    const bool negative = text.front() == '-';
    std::string_view digits = std::string_view(text).substr(negative ? 1 : 0);
    if (digits.starts_with("0.")) digits.remove_prefix(1);
    return (negative ? "-" : " ") + std::string(digits);
}

std::string fixedDecimalsText(double value, int decimals) {
    // Round the number as it reads (its 15 significant digits), not its binary neighbour.
    std::string text = generalNumber(value);
    const bool negative = text.front() == '-';
    if (negative) text.erase(0, 1);
    size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    if (static_cast<int>(fraction.size()) > decimals) {
        const bool roundUp = fraction[static_cast<size_t>(decimals)] >= '5';
        fraction.resize(static_cast<size_t>(decimals));
        if (roundUp) {
            std::string digits = whole + fraction;
            int at = static_cast<int>(digits.size()) - 1;
            while (at >= 0 && digits[static_cast<size_t>(at)] == '9')
                digits[static_cast<size_t>(at--)] = '0';
            if (at >= 0)
                ++digits[static_cast<size_t>(at)];
            else
                digits.insert(digits.begin(), '1');
            whole = digits.substr(0, digits.size() - fraction.size());
            fraction = digits.substr(digits.size() - fraction.size());
        }
    }
    fraction.append(static_cast<size_t>(decimals) - fraction.size(), '0');
    if (whole == "0") whole.clear();
    const bool zero = whole.find_first_not_of('0') == std::string::npos &&
                      fraction.find_first_not_of('0') == std::string::npos;
    std::string out = negative && !zero ? "-" : "";
    out += whole;
    if (decimals > 0) out += "." + fraction;
    if (out.empty()) out = "0";
    return out;
}

} // namespace nimbrel
