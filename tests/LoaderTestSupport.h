#pragma once

#include "data/DataFileLoader.h"
#include "data/TextForms.h"

#include <QString>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

namespace nimbrel {

inline const QString kFixtures = QStringLiteral(NIMBREL_FIXTURES);

inline std::unique_ptr<PriceSeries> emptySeries() {
    return std::make_unique<PriceSeries>();
}

// "date open high low close" of one day, as the export writes it.
std::string dayText(const PriceSeries& series, int day);

// Every cell past dataCount (and row 0) is zero, in both tables.
bool restIsZero(const PriceSeries& series);

// The cases of one rule: each input with what `show` must make of it. A failure names the
// input it failed for.
template <typename Input, typename Show>
void expectEach(std::initializer_list<std::pair<Input, const char*>> cases, Show show) {
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(show(input), expected) << "for " << testing::PrintToString(input);
}

inline Fixed4 price(const char* text) {
    return *Fixed4::fromText(text);
}

// The bytes of a file; none when it cannot be read.
std::string fileBytes(const QString& path);

// A value in its plain decimal form, "-" for none.
inline std::string shown(std::optional<Fixed4> value) {
    return value ? plainDecimal(*value) : "-";
}

} // namespace nimbrel
