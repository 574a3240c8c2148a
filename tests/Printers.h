#pragma once

#include "data/TextForms.h"

#include <QString>
#include <QStringList>

#include <ostream>

// Test failures show prices and texts as the user reads them (found by argument lookup, so each
// stands in the namespace of its type).
namespace nimbrel {

inline void PrintTo(Fixed4 value, std::ostream* out) {
    *out << plainDecimal(value);
}

} // namespace nimbrel

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (const QString& text : texts)
        *out << (&text == &texts.front() ? "" : ", ") << '"' << text.toStdString() << '"';
    *out << '}';
}
