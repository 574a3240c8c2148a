#include "data/TextForms.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(TextForms, PlainDecimalIsShortestAndExact) {
    EXPECT_EQ(plainDecimal(Fixed4()), "0");
    EXPECT_EQ(plainDecimal(*Fixed4::fromText("1234.5")), "1234.5");
    EXPECT_EQ(plainDecimal(*Fixed4::fromText("1234.5000")), "1234.5");
    EXPECT_EQ(plainDecimal(*Fixed4::fromText("0.0001")), "0.0001");
    EXPECT_EQ(plainDecimal(*Fixed4::fromText("-0.05")), "-0.05");
    EXPECT_EQ(plainDecimal(*Fixed4::fromText("19971109")), "19971109");
    EXPECT_EQ(plainDecimal(*Fixed4::fromText("-99999999999999.9999")), "-99999999999999.9999");
}

TEST(TextForms, GeneralNumberHasFifteenSignificantDigitsWithoutExponent) {
    EXPECT_EQ(generalNumber(0), "0");
    EXPECT_EQ(generalNumber(971109), "971109");
    EXPECT_EQ(generalNumber(1508.4), "1508.4");
    EXPECT_EQ(generalNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(generalNumber(-2.5), "-2.5");
    EXPECT_EQ(generalNumber(1e20), "100000000000000000000");
    EXPECT_EQ(generalNumber(0.000012), "0.000012");
    EXPECT_EQ(generalNumber(123456789012345678.0), "123456789012346000");
    EXPECT_EQ(generalNumber(2.0 / 3.0), "0.666666666666667");
}

TEST(TextForms, LeadingNumberReadsAsFarAsANumberGoes) {
    struct Case {
        const char* text;
        const char* token;
        double value;
    };
    const Case cases[] = {
        {"971109", "971109", 971109},
        {"  080105x", "080105", 80105},
        {"19991231abc", "19991231", 19991231},
        {"abc", "", 0},
        {"", "", 0},
        {"-12.5.3", "-12.5", -12.5},
        {"1e3/", "1e3", 1000},
        {"1e", "1", 1},
        {"+7", "+7", 7},
        {".", "", 0},
        {"-", "", 0},
        {"1e999", "1e999", HUGE_VAL},
        {"1e-999", "1e-999", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(leadingNumberToken(c.text), c.token) << c.text;
        EXPECT_EQ(leadingNumber(c.text), c.value) << c.text;
    }
}

TEST(TextForms, SignPlaceTextHasABlankForNonNegativeNumbersAndNoLeadingZero) {
    EXPECT_EQ(signPlaceText(0.05), " .05");
    EXPECT_EQ(signPlaceText(50), " 50");
    EXPECT_EQ(signPlaceText(0), " 0");
    EXPECT_EQ(signPlaceText(-0.5), "-.5");
    EXPECT_EQ(signPlaceText(-1500), "-1500");
    EXPECT_EQ(signPlaceText(2.5), " 2.5");
}

TEST(TextForms, FixedDecimalsTextWritesExactlyThatManyDecimals) {
    EXPECT_EQ(fixedDecimalsText(8.1, 2), "8.10");
    EXPECT_EQ(fixedDecimalsText(8.1 + 3 * 0.05, 2), "8.25");
    EXPECT_EQ(fixedDecimalsText(1.5, 1), "1.5");
    EXPECT_EQ(fixedDecimalsText(0.5, 1), ".5");
    EXPECT_EQ(fixedDecimalsText(0, 2), ".00");
    EXPECT_EQ(fixedDecimalsText(1234, 1), "1234.0");
    EXPECT_EQ(fixedDecimalsText(9.995, 2), "10.00");
    EXPECT_EQ(fixedDecimalsText(-0.25, 1), "-.3");
    EXPECT_EQ(fixedDecimalsText(-0.04, 1), ".0");
}
