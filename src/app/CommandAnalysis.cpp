#include "app/CommandAnalysis.h"

#include "chart/ChartTexts.h"

namespace nimbrel {

namespace {

bool isTradingDay(const PriceSeries& days, Fixed4 date) {
    for (int day = 1; day <= days.dataCount; ++day)
        if (days.priceTable[size_t(day)].date == date) return true;
    return false;
}

void listMarks(const std::vector<TimeMark>& marks, const PriceSeries& bars, std::string& lines) {
    for (const TimeMark& mark : marks)
        lines += std::to_string(mark.number) + ' ' + markPlace(bars, mark.bar).toStdString() + '\n';
}

} // namespace

CommandAnalysis analyse(const Request& request, const PriceSeries& days, const PriceSeries& bars,
                        Fixed4 decimalsUnit) {
    CommandAnalysis found;
    std::vector<Fixed4> asked = request.timeFrom;
    if (request.equalCount)
        asked.insert(asked.end(), request.equalCount->begin(), request.equalCount->end());
    if (request.targets)
        asked.insert(asked.end(), request.targets->begin(), request.targets->end());
    for (Fixed4 date : asked) {
        if (!isTradingDay(days, date)) {
            found.missingDate = date;
            return found;
        }
    }
    for (Fixed4 pivot : request.timeFrom) {
        const std::vector<TimeMark> marks = basicNumberMarks(barOfDate(bars, pivot), kBasicNumbers);
        listMarks(marks, bars, found.lines);
        found.marks.timeMarks.insert(found.marks.timeMarks.end(), marks.begin(), marks.end());
    }
    if (request.equalCount) {
        const std::vector<TimeMark> marks = equalCountMarks(
            barOfDate(bars, (*request.equalCount)[0]), barOfDate(bars, (*request.equalCount)[1]));
        listMarks(marks, bars, found.lines);
        found.marks.timeMarks.insert(found.marks.timeMarks.end(), marks.begin(), marks.end());
    }
    if (request.targets) {
        const auto& [a, b, c] = *request.targets;
        if (const std::optional<SwingTargets> swing = swingTargets(bars, a, b, c)) {
            found.marks.targetsFrom = barOfDate(bars, c);
            found.marks.targets = targetLines(swing->targets);
            for (const TargetLine& line : found.marks.targets)
                found.lines += (line.name + QLatin1Char(' ') + priceText(line.price, decimalsUnit))
                                   .toStdString() +
                               '\n';
        }
    }
    return found;
}

} // namespace nimbrel
