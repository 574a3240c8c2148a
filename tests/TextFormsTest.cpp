#include "data/TextForms.h"

#include "LoaderTestSupport.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace nimbrel {

TEST(TextForms, PlainDecimalIsShortestAndExact) {
    for (const char* text : {"0", "1234.5", "0.0001", "-0.05", "19971109", "-99999999999999.9999"})
        EXPECT_EQ(plainDecimal(*Fixed4::fromText(text)), text);
}

TEST(TextForms, GeneralNumberHasFifteenSignificantDigitsWithoutExponent) {
    EXPECT_EQ(joined({0.0, 971109.0, 1508.4, 0.1 + 0.2, -2.5, 1e20, 0.000012, 123456789012345678.0,
                      2.0 / 3.0},
                     generalNumber),
              "0|971109|1508.4|0.3|-2.5|100000000000000000000|0.000012|123456789012346000|"
              "0.666666666666667");
}

TEST(TextForms, LeadingNumberReadsAsFarAsANumberGoes) {
    const std::initializer_list<const char*> texts = {
        "971109", "  080105x", "19991231abc", "abc", "",      "-12.5.3", "1e3/",
        "1e",     "+7",        ".",           "-",   "1e999", "1e-999"};
    EXPECT_EQ(joined(texts, [](const char* text) { return std::string(leadingNumberToken(text)); }),
              "971109|080105|19991231|||-12.5|1e3|1|+7|||1e999|1e-999");
    EXPECT_EQ(joined(texts,
                     [](const char* text) {
                         return QByteArray::number(leadingNumber(text), 'g', 17).toStdString();
                     }),
              "971109|80105|19991231|0|0|-12.5|1000|1|7|0|0|inf|0");
}

TEST(TextForms, SignPlaceTextHasABlankForNonNegativeNumbersAndNoLeadingZero) {
    EXPECT_EQ(joined({0.05, 50.0, 0.0, -0.5, -1500.0, 2.5}, signPlaceText),
              " .05| 50| 0|-.5|-1500| 2.5");
}

TEST(TextForms, FixedDecimalsTextWritesExactlyThatManyDecimals) {
    const std::pair<double, int> cases[] = {{8.1, 2},  {8.1 + 3 * 0.05, 2}, {1.5, 1},   {0.5, 1},
                                            {0, 2},    {1234, 1},           {9.995, 2}, {-0.25, 1},
                                            {-0.04, 1}};
    std::string texts;
    for (const auto& [value, decimals] : cases) texts += fixedDecimalsText(value, decimals) + "|";
    EXPECT_EQ(texts, "8.10|8.25|1.5|.5|.00|1234.0|10.00|-.3|.0|");
}

} // namespace nimbrel
