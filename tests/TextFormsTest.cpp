#include "data/TextForms.h"

#include "LoaderTestSupport.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace nimbrel {

TEST(TextForms, GeneralNumberHasFifteenSignificantDigitsWithoutExponent) {
    // clang-format off
    expectEach<double>({
        {0.0, "0"}, {971109.0, "971109"}, {1508.4, "1508.4"}, {0.1 + 0.2, "0.3"}, {-2.5, "-2.5"},
        {1e20, "100000000000000000000"}, {0.000012, "0.000012"},
        {123456789012345678.0, "123456789012346000"}, {2.0 / 3.0, "0.666666666666667"}},
        generalNumber);
    // clang-format on
}

TEST(TextForms, LeadingNumberReadsAsFarAsANumberGoes) {
    // Each text with its leading number's token and its value.
    struct Case {
        const char* text;
        const char* token;
        const char* value;
    };
    const Case cases[] = {{"971109", "971109", "971109"},
                          {"  080105x", "080105", "80105"},
                          {"19991231abc", "19991231", "19991231"},
                          {"abc", "", "0"},
                          {"", "", "0"},
                          {"-12.5.3", "-12.5", "-12.5"},
                          {"1e3/", "1e3", "1000"},
                          {"1e", "1", "1"},
                          {"+7", "+7", "7"},
                          {".", "", "0"},
                          {"-", "", "0"},
                          {"1e999", "1e999", "inf"},
                          {"1e-999", "1e-999", "0"}};
    for (const Case& c : cases) {
        EXPECT_EQ(leadingNumberToken(c.text), c.token) << "for " << c.text;
        EXPECT_EQ(QByteArray::number(leadingNumber(c.text), 'g', 17).toStdString(), c.value)
            << "for " << c.text;
    }
}

TEST(TextForms, FixedDecimalsTextWritesExactlyThatManyDecimals) {
    expectEach<std::pair<double, int>>(
        {{{8.1, 2}, "8.10"},
         {{8.1 + 3 * 0.05, 2}, "8.25"},
         {{1.5, 1}, "1.5"},
         {{0.5, 1}, ".5"},
         {{0, 2}, ".00"},
         {{1234, 1}, "1234.0"},
         {{9.995, 2}, "10.00"},
         {{-0.25, 1}, "-.3"},
         {{-0.04, 1}, ".0"}},
        [](std::pair<double, int> c) { return fixedDecimalsText(c.first, c.second); });
}

} // namespace nimbrel
