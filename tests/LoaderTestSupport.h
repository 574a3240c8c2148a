#pragma once

#include "data/DataFileLoader.h"
#include "data/TextForms.h"

#include <QString>

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

// Each input as `show` writes it, joined by "|": the cases of one rule in one expectation.
template <typename Input, typename Show>
std::string joined(std::initializer_list<Input> inputs, Show show) {
    std::string out;
    for (const Input& input : inputs) {
        if (&input != inputs.begin()) out += '|';
        out += show(input);
    }
    return out;
}

// A value in its plain decimal form, "-" for none.
inline std::string shown(std::optional<Fixed4> value) {
    return value ? plainDecimal(*value) : "-";
}

} // namespace nimbrel
