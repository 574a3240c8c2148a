#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

namespace nimbrel {

// The program's price and date type: a count of 0.0001 units, so that sums of prices are exact
// and every value the user typed in a file is held to the last shown digit.
class Fixed4 {
public:
    static constexpr int64_t kUnitsPerWhole = 10000;
    // Values are kept below 10^14 in magnitude so that the sum of any two never overflows.
    static constexpr int64_t kMaxUnits = 999'999'999'999'999'999;

    constexpr Fixed4() = default;
    static constexpr Fixed4 fromUnits(int64_t units) { return Fixed4(units); }
    static constexpr Fixed4 fromWhole(int64_t whole) { return Fixed4(whole * kUnitsPerWhole); }

    // Rounds to the nearest 0.0001, ties to the even last digit. The double is taken at its
    // shortest decimal form, the digits a spreadsheet shows for it, so 1508.45 stays 1508.45.
    // Not a finite number, or too large to hold: nullopt.
    [[nodiscard]] static std::optional<Fixed4> fromDouble(double value);
    // Exact decimal reading: surrounding blanks, a sign, a decimal point and digit-group commas
    // (1,500.25; 12,345,678: one to three digits, then groups of exactly three); digits past the
    // fourth decimal round to nearest, ties to even. Anything else: nullopt.
    [[nodiscard]] static std::optional<Fixed4> fromText(std::string_view text);

    constexpr int64_t units() const { return units_; }
    double toDouble() const { return static_cast<double>(units_) / kUnitsPerWhole; }

    friend constexpr Fixed4 operator+(Fixed4 a, Fixed4 b) { return Fixed4(a.units_ + b.units_); }
    friend constexpr Fixed4 operator-(Fixed4 a, Fixed4 b) { return Fixed4(a.units_ - b.units_); }
    friend constexpr auto operator<=>(Fixed4, Fixed4) = default;

private:
    constexpr explicit Fixed4(int64_t units) : units_(units) {}
    int64_t units_ = 0;
};

// (a + b) / 2 with the sum exact and the half rounded to 0.0001, ties to even: the midpoint
// that every Ichimoku line is made of. Both values stay below 10^18 units, so the sum fits, and
// halving a count of units needs no floating point to round ties to even.
[[nodiscard]] inline Fixed4 midpoint(Fixed4 a, Fixed4 b) {
    const int64_t sum = a.units() + b.units();
    int64_t half = sum / 2;
    const int64_t rest = sum % 2;
    if (rest != 0 && half % 2 != 0) half += rest;
    return Fixed4::fromUnits(half);
}

} // namespace nimbrel
