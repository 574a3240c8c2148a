#include "command/CommandAnalysis.h"

#include "chart/ChartTexts.h"

namespace nimbrel {

namespace {

bool isTradingDay(const PriceSeries& days, Fixed4 date) {
    for (int day = 1; day <= days.dataCount; ++day)
        if (days.priceTable[size_t(day)].date == date) return true;
    return false;
}

} // namespace

CommandAnalysis analyse(const Request& request, const PriceSeries& days, const PriceSeries& bars,
                        Fixed4 decimalsUnit) {
    CommandAnalysis found;
    MarkedAnalysis marked;
    marked.basicPivots = request.timeFrom;
    if (request.equalCount) marked.equalCounts.push_back(*request.equalCount);
    std::vector<Fixed4> asked = request.timeFrom;
    if (request.equalCount)
        asked.insert(asked.end(), request.equalCount->begin(), request.equalCount->end());
    if (request.targets) {
        asked.insert(asked.end(), request.targets->begin(), request.targets->end());
        const auto& [a, b, c] = *request.targets;
        if (const std::optional<SwingTargets> swing = swingTargets(bars, a, b, c))
            marked.targets = {{{a, swing->a}, {b, swing->b}, {c, swing->c}}};
    }
    for (Fixed4 date : asked) {
        if (!isTradingDay(days, date)) {
            found.missingDate = date;
            return found;
        }
    }
    found.marks = marksOn(marked, bars, kBasicNumbers);
    for (const QString& line :
         timeMarkLines(found.marks, bars) + targetLineTexts(found.marks, decimalsUnit))
        found.lines += line.toStdString() + '\n';
    return found;
}

} // namespace nimbrel
