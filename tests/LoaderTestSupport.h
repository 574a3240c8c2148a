#pragma once

#include "data/DataFileLoader.h"

#include <QString>

#include <memory>
#include <string>

inline const QString kFixtures = QStringLiteral(NIMBREL_FIXTURES);

inline std::unique_ptr<PriceSeries> emptySeries() {
    return std::make_unique<PriceSeries>();
}

// "date open high low close" of one day, as the export writes it.
std::string dayText(const PriceSeries& series, int day);

// Every cell past dataCount (and row 0) is zero, in both tables.
bool restIsZero(const PriceSeries& series);
