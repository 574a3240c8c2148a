#include "analysis/TimeMarks.h"

#include "data/TextForms.h"

#include <QStringList>

#include <algorithm>

namespace nimbrel {

namespace {

constexpr int kLargestListNumber = 999;

} // namespace

std::vector<TimeMark> basicNumberMarks(int pivotBar, const std::vector<int>& numbers) {
    std::vector<TimeMark> marks;
    for (int number : numbers) {
        if (number >= 1) marks.push_back({pivotBar + number - 1, number});
    }
    return marks;
}

std::vector<TimeMark> equalCountMarks(int firstBar, int secondBar) {
    const int earlier = std::min(firstBar, secondBar), later = std::max(firstBar, secondBar);
    const int count = later - earlier + 1;
    if (count < 2) return {};
    return {{later + count - 1, count}, {later + 2 * (count - 1), count}};
}

QString markPlace(const PriceSeries& bars, int bar) {
    if (bar < 1) return {};
    if (bar > bars.dataCount) return QStringLiteral("+%1").arg(bar - bars.dataCount);
    return QString::fromStdString(plainDecimal(bars.priceTable[bar].date));
}

std::optional<std::vector<int>> parseNumberList(const QString& text) {
    std::vector<int> numbers;
    for (const QString& item : text.split(u',')) {
        const QString digits = item.trimmed();
        if (digits.isEmpty()) return std::nullopt;
        int number = 0;
        for (QChar c : digits) {
            // Only ASCII digits: QChar::isDigit would also take other scripts' digits.
            if (c < u'0' || c > u'9') return std::nullopt;
            number = number * 10 + (c.unicode() - u'0');
            if (number > kLargestListNumber) return std::nullopt;
        }
        if (number < 1) return std::nullopt;
        numbers.push_back(number);
    }
    return numbers;
}

QString numberListText(const std::vector<int>& numbers) {
    QStringList items;
    for (int number : numbers) items.append(QString::number(number));
    return items.join(u',');
}

} // namespace nimbrel
