#include "chart/ChartMarks.h"

#include "chart/ChartTexts.h"

namespace nimbrel {

std::vector<TargetLine> targetLines(const PriceTargets& targets) {
    return {{QStringLiteral("N"), targets.nTarget},
            {QStringLiteral("V"), targets.vTarget},
            {QStringLiteral("E"), targets.eTarget},
            {QStringLiteral("NT"), targets.ntTarget}};
}

ChartMarks marksOn(const MarkedAnalysis& marked, const PriceSeries& bars,
                   const std::vector<int>& basicNumbers) {
    ChartMarks marks;
    auto add = [&marks](const std::vector<TimeMark>& more) {
        marks.timeMarks.insert(marks.timeMarks.end(), more.begin(), more.end());
    };
    for (Fixed4 pivot : marked.basicPivots)
        add(basicNumberMarks(barOfDate(bars, pivot), basicNumbers));
    for (const auto& [a, b] : marked.equalCounts)
        add(equalCountMarks(barOfDate(bars, a), barOfDate(bars, b)));
    if (marked.targets) {
        const auto& [a, b, c] = *marked.targets;
        marks.targetsFrom = barOfDate(bars, c.date);
        marks.targets = targetLines(priceTargets(a.price, b.price, c.price));
    }
    return marks;
}

QStringList timeMarkLines(const ChartMarks& marks, const PriceSeries& bars) {
    QStringList lines;
    for (const TimeMark& mark : marks.timeMarks)
        lines << QString::number(mark.number) + QLatin1Char(' ') + markPlace(bars, mark.bar);
    return lines;
}

QStringList targetLineTexts(const ChartMarks& marks, Fixed4 decimalsUnit) {
    QStringList lines;
    for (const TargetLine& target : marks.targets)
        lines << target.name + QLatin1Char(' ') + priceText(target.price, decimalsUnit);
    return lines;
}

} // namespace nimbrel
