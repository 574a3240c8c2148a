#include "data/Fixed4.h"

#include <charconv>
#include <cmath>

namespace nimbrel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

namespace {

// The common price: digits, maybe a point and at most four decimals, nothing else. Nullopt
// hands the text to the full reading.
std::optional<Fixed4> plainPrice(std::string_view s) {
    if (s.empty() || s.size() > 18) return std::nullopt;
    int64_t units = 0;
    size_t pos = 0;
    for (; pos < s.size() && isDigit(s[pos]); ++pos) units = units * 10 + (s[pos] - '0');
    if (pos == 0 || pos > 14)
        return std::nullopt; // 15 digits may not fit: the full reading decides
    int decimals = 0;
    if (pos < s.size()) {
        if (s[pos] != '.' || s.size() - pos - 1 > 4) return std::nullopt;
        for (++pos; pos < s.size(); ++pos, ++decimals) {
            if (!isDigit(s[pos])) return std::nullopt;
            units = units * 10 + (s[pos] - '0');
        }
    }
    for (; decimals < 4; ++decimals) units *= 10;
    return units <= Fixed4::kMaxUnits ? std::optional<Fixed4>(Fixed4::fromUnits(units))
                                      : std::nullopt;
}

} // namespace

std::optional<Fixed4> Fixed4::fromText(std::string_view text) {
    if (std::optional<Fixed4> plain = plainPrice(text)) return plain;
    size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    std::string_view s = text.substr(begin, end - begin);

    size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';

    constexpr int64_t kMaxWhole = kMaxUnits / kUnitsPerWhole;
    int64_t whole = 0;
    int digits = 0;
    // Commas only group digits by thousands: one to three digits before the first, exactly three
    // after each. A decimal comma (1508,45) is not a thousands group and must not read as one.
    bool grouped = false;
    int groupDigits = 0;
    while (pos < s.size()) {
        if (isDigit(s[pos])) {
            whole = whole * 10 + (s[pos] - '0');
            if (whole > kMaxWhole) return std::nullopt;
            ++digits;
            ++groupDigits;
            ++pos;
        } else if (s[pos] == ',') {
            if (grouped ? groupDigits != 3 : groupDigits < 1 || groupDigits > 3)
                return std::nullopt;
            grouped = true;
            groupDigits = 0;
            ++pos;
        } else {
            break;
        }
    }
    if (grouped && groupDigits != 3) return std::nullopt;

    int64_t fraction = 0;
    int fractionDigits = 0;
    int roundingDigit = 0;
    bool sticky = false; // a nonzero digit after the rounding digit
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        while (pos < s.size() && isDigit(s[pos])) {
            int d = s[pos] - '0';
            if (fractionDigits < 4)
                fraction = fraction * 10 + d;
            else if (fractionDigits == 4)
                roundingDigit = d;
            else
                sticky = sticky || d != 0;
            ++fractionDigits;
            ++pos;
        }
    }
    if (pos != s.size() || digits + fractionDigits == 0) return std::nullopt;
    for (int i = fractionDigits; i < 4; ++i) fraction *= 10;

    int64_t units = whole * kUnitsPerWhole + fraction;
    if (roundingDigit > 5 || (roundingDigit == 5 && (sticky || units % 2 != 0))) ++units;
    if (units > kMaxUnits) return std::nullopt;
    return Fixed4(negative ? -units : units);
}

std::optional<Fixed4> Fixed4::fromDouble(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e14) return std::nullopt;
    if (value == std::trunc(value)) return Fixed4(static_cast<int64_t>(value) * kUnitsPerWhole);
    // Below half a unit every value rounds to 0 (half a unit itself, to the even 0); its
    // decimals could run past any buffer (5e-324 has 324 of them).
    if (std::fabs(value) < 0.00005) return Fixed4();
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (ec != std::errc()) return std::nullopt;
    return fromText(std::string_view(buffer, end - buffer));
}

} // namespace nimbrel
