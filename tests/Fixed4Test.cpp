#include "data/Fixed4.h"

#include "LoaderTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace nimbrel {

TEST(Fixed4, ReadsDecimalTextExactlyWithTiesToEven) {
    const auto read = [](const char* text) { return shown(Fixed4::fromText(text)); };
    // clang-format off
    expectEach<const char*>({
        {"1234.5", "1234.5"}, {"-0", "0"}, {"0.00015", "0.0002"}, {"0.00005", "0"},
        {"0.00025", "0.0002"}, {"0.000051", "0.0001"}, {"0.00004999999", "0"},
        {"-0.00015", "-0.0002"}, {"  1500\t", "1500"}, {"+12", "12"}, {".5", "0.5"}, {"5.", "5"},
        {"0.99995", "1"}, {"1,234,567.8", "1234567.8"}, {"12,345,678", "12345678"},
        {"-999,000", "-999000"}, {"99999999999999.9999", "99999999999999.9999"},
        {"00000000000000000001.5", "1.5"}}, read);
    // clang-format on
    for (const char* text :
         {"", " ", ".", "-", "+", "abc", "12a", "1e3", "1 000", ",100", "100,", "1,,000",
          // Commas group thousands only: a decimal comma is not read.
          "12,34", "1,5", "1508,45", "1,00", "1,000,0000", "1234,567", "1,23,456", "1,000,00.5",
          "1.2.3", "--1", "1.5,0", "１２", "0x10", "1-", "100000000000000", "1,5x0"}) {
        EXPECT_FALSE(Fixed4::fromText(text).has_value()) << text;
    }
}

TEST(Fixed4, ConvertsDoublesAtTheirShortestDecimalForm) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // clang-format off
    expectEach<double>({
        {1508.45, "1508.45"}, {0.1 + 0.2, "0.3"}, {0.00015, "0.0002"}, {0.00025, "0.0002"},
        {-2.5, "-2.5"}, {19971109.0, "19971109"}, {1e-9, "0"}, {1e14, "-"}, {nan, "-"},
        {-inf, "-"}}, [](double value) { return shown(Fixed4::fromDouble(value)); });
    // clang-format on
    EXPECT_DOUBLE_EQ(Fixed4::fromUnits(12345).toDouble(), 1.2345);
}

TEST(Fixed4, MidpointsRoundTiesToEven) {
    EXPECT_EQ(midpoint(Fixed4::fromWhole(12), Fixed4::fromWhole(7)).units(), 95000);
    // With 0: 0.00005 -> 0, 0.00015 -> 0.0002, 0.00025 -> 0.0002.
    expectEach<int>({{1, "0"}, {3, "0.0002"}, {5, "0.0002"}, {-3, "-0.0002"}, {-1, "0"}},
                    [](int units) { return shown(midpoint(Fixed4::fromUnits(units), Fixed4())); });
    const Fixed4 largest = Fixed4::fromUnits(Fixed4::kMaxUnits);
    EXPECT_EQ(midpoint(largest, largest), largest);
    EXPECT_EQ(midpoint(largest, Fixed4::fromUnits(-Fixed4::kMaxUnits)).units(), 0);
}

} // namespace nimbrel
