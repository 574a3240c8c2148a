#pragma once

#include "command/CommandArguments.h"
#include "chart/ChartMarks.h"
#include "data/PriceSeries.h"

#include <string>

namespace nimbrel {

// What the analysis options of a command find on the bars of a file.
struct CommandAnalysis {
    ChartMarks marks;
    // One line an item, for standard output: "N 5164" for a target (its price at the chart's
    // decimals), "26 20240305" for a mark (its number, then its bar's date, or +k for the k-th
    // slot after the newest bar).
    std::string lines;
    // A date asked for that is no trading day of the file: the command is wrong.
    std::optional<Fixed4> missingDate;
};

// The marks and targets of the request on `bars`, made from the loaded `days`.
[[nodiscard]] CommandAnalysis analyse(const Request& request, const PriceSeries& days,
                                      const PriceSeries& bars, Fixed4 decimalsUnit);

} // namespace nimbrel
