#include "tools/ToolTexts.h"

#include <algorithm>

namespace nimbrel {

int dayAt(const ChartLayout& layout, double x) {
    return std::max(layout.days.dayAt(x), 1);
}

} // namespace nimbrel
