#pragma once

#include "analysis/Bars.h"
#include "analysis/PriceTargets.h"
#include "analysis/TimeMarks.h"

#include <QString>

#include <vector>

namespace nimbrel {

// A price target drawn as a line from a bar's slot to the plot's right edge.
struct TargetLine {
    QString name; // N, V, E or NT
    Fixed4 price;
};

// The lines of the four targets, in the order N, V, E, NT.
std::vector<TargetLine> targetLines(const PriceTargets& targets);

// What the analysis tools put on the chart, in bars of the series shown.
struct ChartMarks {
    std::vector<TimeMark> timeMarks;
    int targetsFrom = 0; // the bar the target lines start at (C's)
    std::vector<TargetLine> targets;
};

} // namespace nimbrel
