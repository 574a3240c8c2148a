#pragma once

#include "data/TextForms.h"

#include <ostream>

// Lets test failures show prices as the user reads them.
inline void PrintTo(Fixed4 value, std::ostream* out) {
    *out << plainDecimal(value);
}

#include <QString>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
