#include "tools/ToolTexts.h"

#include "data/TextForms.h"

#include <algorithm>

namespace nimbrel {

int dayAt(const ChartLayout& layout, double x) {
    return std::max(layout.days.dayAt(x), 1);
}

QString priceText(Fixed4 value, Fixed4 decimalsUnit) {
    return QString::fromStdString(generalNumber(roundedToUnit(value, decimalsUnit).toDouble()));
}

QString priceText(double value, Fixed4 decimalsUnit) {
    return QString::fromStdString(generalNumber(roundedToUnit(value, decimalsUnit)));
}

QString dateText(Fixed4 date) {
    return QString::fromStdString(generalNumber(date.toDouble()));
}

} // namespace nimbrel
