#include "data/Fixed4.h"

#include "Printers.h"

#include <gtest/gtest.h>

#include <limits>

#include <string>

namespace {

int64_t unitsOf(std::string_view text) {
    std::optional<Fixed4> value = Fixed4::fromText(text);
    EXPECT_TRUE(value.has_value()) << text;
    return value ? value->units() : -1;
}

} // namespace

TEST(Fixed4, ReadsDecimalTextExactlyWithTiesToEven) {
    struct Case {
        const char* text;
        int64_t units;
    };
    const Case cases[] = {
        {"1234.5", 12345000},
        {"0", 0},
        {"-0", 0},
        {"0.00015", 2},
        {"0.00005", 0},
        {"0.00025", 2},
        {"0.00035", 4},
        {"0.000051", 1},
        {"0.00004999999", 0},
        {"-0.00015", -2},
        {"  1500\t", 15000000},
        {"+12", 120000},
        {".5", 5000},
        {"5.", 50000},
        {"1,234,567.8", 12345678000},
        {"1,500.25", 15002500},
        {"12,345,678", 123456780000},
        {"-999,000", -9990000000},
        {"1508.4", 15084000},
        {"0.99995", 10000},
        {"99999999999999", 999999999999990000},
        {"99999999999999.9999", 999999999999999999},
        {"00000000000000000001.5", 15000},
    };
    for (const Case& c : cases) EXPECT_EQ(unitsOf(c.text), c.units) << c.text;
}

TEST(Fixed4, RejectsTextThatIsNotANumber) {
    for (const char* text :
         {"", " ", ".", "-", "+", "abc", "12a", "1e3", "1 000", ",100", "100,", "1,,000",
          // Commas group thousands only: a decimal comma is not read.
          "12,34", "1,5", "1508,45", "1,00", "1,000,0000", "1234,567", "1,000,00.5", "1.2.3", "--1",
          "1.5,0", "１２", "0x10", "1-", "100000000000000", "1,5x0"}) {
        EXPECT_FALSE(Fixed4::fromText(text).has_value()) << text;
    }
}

TEST(Fixed4, ConvertsDoublesAtTheirShortestDecimalForm) {
    EXPECT_EQ(Fixed4::fromDouble(1508.45)->units(), 15084500);
    EXPECT_EQ(Fixed4::fromDouble(0.1 + 0.2)->units(), 3000);
    EXPECT_EQ(Fixed4::fromDouble(0.00015)->units(), 2);
    EXPECT_EQ(Fixed4::fromDouble(0.00025)->units(), 2);
    EXPECT_EQ(Fixed4::fromDouble(-2.5)->units(), -25000);
    EXPECT_EQ(Fixed4::fromDouble(19971109)->units(), 199711090000);
    EXPECT_EQ(Fixed4::fromDouble(1e-9)->units(), 0);
    EXPECT_FALSE(Fixed4::fromDouble(1e14).has_value());
    EXPECT_FALSE(Fixed4::fromDouble(std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_FALSE(Fixed4::fromDouble(-std::numeric_limits<double>::infinity()).has_value());
    EXPECT_DOUBLE_EQ(Fixed4::fromUnits(12345).toDouble(), 1.2345);
}

TEST(Fixed4, SumsAreExactAndMidpointsRoundTiesToEven) {
    EXPECT_EQ((Fixed4::fromUnits(1) + Fixed4::fromUnits(2)).units(), 3);
    EXPECT_EQ((Fixed4::fromUnits(1) - Fixed4::fromUnits(2)).units(), -1);
    EXPECT_EQ(midpoint(Fixed4::fromWhole(12), Fixed4::fromWhole(7)), *Fixed4::fromText("9.5"));
    EXPECT_EQ(midpoint(Fixed4::fromUnits(1), Fixed4()).units(), 0); // 0.00005 -> 0
    EXPECT_EQ(midpoint(Fixed4::fromUnits(3), Fixed4()).units(), 2); // 0.00015 -> 0.0002
    EXPECT_EQ(midpoint(Fixed4::fromUnits(5), Fixed4()).units(), 2); // 0.00025 -> 0.0002
    EXPECT_EQ(midpoint(Fixed4::fromUnits(-3), Fixed4()).units(), -2);
    EXPECT_EQ(midpoint(Fixed4::fromUnits(-1), Fixed4()).units(), 0);
    const Fixed4 largest = Fixed4::fromUnits(Fixed4::kMaxUnits);
    EXPECT_EQ(midpoint(largest, largest), largest);
    EXPECT_EQ(midpoint(largest, Fixed4::fromUnits(-Fixed4::kMaxUnits)).units(), 0);
}
