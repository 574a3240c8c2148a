#pragma once

#include "analysis/Bars.h"
#include "analysis/PriceTargets.h"
#include "analysis/TimeMarks.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
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

// A turning point the user picked: the date of its bar and the price taken from it.
struct DatedPoint {
    Fixed4 date;
    Fixed4 price;
};

// What the user marked with the analysis tools, kept by dates, so that it stays where it was
// when the bars change between days, weeks and months.
struct MarkedAnalysis {
    std::vector<Fixed4> basicPivots;                  // each marks the basic numbers from it
    std::vector<std::array<Fixed4, 2>> equalCounts;   // A and B of each equal count
    std::optional<std::array<DatedPoint, 3>> targets; // A, B and C
    bool empty() const { return basicPivots.empty() && equalCounts.empty() && !targets; }
};

// The marks on the bars shown.
[[nodiscard]] ChartMarks marksOn(const MarkedAnalysis& marked, const PriceSeries& bars,
                                 const std::vector<int>& basicNumbers);

// What the marks are, one line an item, as the tool windows and the command line list them:
// "26 20240305" for a time mark (its count, then its bar's date or +k for the k-th slot after
// the newest bar), "N 5164" for a target (its price at the chart's decimals).
[[nodiscard]] QStringList timeMarkLines(const ChartMarks& marks, const PriceSeries& bars);
[[nodiscard]] QStringList targetLineTexts(const ChartMarks& marks, Fixed4 decimalsUnit);

} // namespace nimbrel
