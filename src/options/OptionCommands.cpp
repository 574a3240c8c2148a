#include "options/OptionCommands.h"

#include "chart/AxisScale.h"
#include "chart/ViewOperations.h"
#include "data/TextForms.h"

#include <algorithm>
#include <cmath>

namespace nimbrel {

namespace {

QString number(double value) {
    return QString::fromStdString(generalNumber(value));
}

QString dateNumber(Fixed4 date) {
    return QString::fromStdString(plainDecimal(date));
}

// A decimal number as the user typed it; nothing for an empty entry (Cancel) or for text that
// is no number.
std::optional<double> entryNumber(const QString& entry) {
    bool ok = false;
    const double value = entry.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

Message nimbrelMessage(const QString& text, MessageIcon icon) {
    return Message{QStringLiteral("Nimbrel"), text, icon};
}

OptionResult redrawn() {
    return OptionResult{true, std::nullopt};
}

OptionResult refused(const QString& text) {
    return {false, nimbrelMessage(text, MessageIcon::Exclamation)};
}

// The lines of the price grid of a range at a step, as the chart would draw them.
double gridLines(Fixed4 high, Fixed4 low, float step) {
    return axisScale(high, low, step).intervals();
}

// Up to two significant digits: a bound shown to the user.
double roundedUp(double value) {
    if (!(value > 0)) return value;
    const double unit = std::pow(10.0, std::floor(std::log10(value)) - 1);
    return std::ceil(value / unit) * unit;
}

} // namespace

OptionResult changeDecimals(ViewState& view, InputBoxes& boxes) {
    const double digitsNow = -std::log(view.decimalsUnit.toDouble()) / std::log(10.0);
    const std::optional<double> entry = entryNumber(
        boxes.ask({QStringLiteral("小数点以下の桁数は?"),
                   QStringLiteral("(現在の桁数 = ") + number(digitsNow) + QLatin1Char(')'),
                   QStringLiteral("(指定可能最大桁数 = 4)")},
                  QString()));
    if (!entry) return {};
    const int digits = static_cast<int>(std::floor(std::clamp(*entry, 0.0, 4.0)));
    int64_t units = Fixed4::kUnitsPerWhole;
    for (int d = 0; d < digits; ++d) units /= 10;
    view.decimalsUnit = Fixed4::fromUnits(units);
    return redrawn();
}

OptionResult changeDaysShown(const PriceSeries& series, ViewState& view, InputBoxes& boxes) {
    if (series.dataCount == 0) return {};
    if (view.maxLength == 0) view.maxLength = 120;
    const int shown = series.dataCount - view.firstDay - view.endOffset + 1;
    const int most = series.dataCount - view.endOffset;
    const std::optional<double> entry = entryNumber(
        boxes.ask({QStringLiteral("表示日数は?"),
                   QStringLiteral("(現在の日数=") + QString::number(shown) + QLatin1Char(')'),
                   QStringLiteral("  (最大日数=") + QString::number(most) + QLatin1Char(')')},
                  QString()));
    if (!entry || *entry <= 0) return {};
    if (*entry > most)
        return {false, nimbrelMessage(QStringLiteral("最大表示日数は") + QString::number(most) +
                                          QStringLiteral("日です"),
                                      MessageIcon::Information)};
    // Halves go to the even number; a count that rounds to no day at all draws nothing.
    const double days = std::nearbyint(*entry);
    if (days < 1) return {};
    view.maxLength = static_cast<int16_t>(days);
    view.firstDay = static_cast<int16_t>(series.dataCount - view.maxLength - view.endOffset + 1);
    scanVisibleRange(series, view);
    return redrawn();
}

OptionResult selectPeriod(const PriceSeries& series, ViewState& view, InputBoxes& boxes) {
    const int count = series.dataCount;
    const Fixed4 firstDate = series.priceTable[1].date;
    if (firstDate == Fixed4()) return {};
    const Fixed4 lastDate = series.priceTable[static_cast<size_t>(count)].date;
    const QString firstText = dateNumber(firstDate), lastText = dateNumber(lastDate);

    const QString startEntry = boxes.ask(
        {QStringLiteral("先頭日付は"), QLatin1Char('(') + firstText + QStringLiteral("～)")},
        QLatin1Char(' ') + firstText);
    const double start = leadingNumber(startEntry.toStdString());
    if (startEntry.isEmpty() || start < firstDate.toDouble()) return {};
    const QString endEntry = boxes.ask(
        {QStringLiteral("末尾日付は"), QStringLiteral("(～") + lastText + QLatin1Char(')')},
        QLatin1Char(' ') + lastText);
    const double end = leadingNumber(endEntry.toStdString());
    if (endEntry.isEmpty() || end > lastDate.toDouble() || end < start) return {};

    const auto dateOf = [&](int day) {
        return series.priceTable[static_cast<size_t>(day)].date.toDouble();
    };
    int firstDay = view.firstDay;
    int scan = 1;
    while (scan <= count && dateOf(scan) < start) ++scan;
    if (scan <= count) firstDay = scan;
    int endOffset = view.endOffset;
    for (int day = scan; day <= count; ++day) {
        if (dateOf(day) >= end) {
            // The last day drawn is the last one dated on or before the end.
            endOffset = count - day + (dateOf(day) == end ? 0 : 1);
            break;
        }
    }
    const int days = count - firstDay - endOffset + 1;
    if (days < 1) return {}; // no trading day in the period
    view.firstDay = static_cast<int16_t>(firstDay);
    view.endOffset = endOffset;
    view.maxLength = static_cast<int16_t>(days);
    scanVisibleRange(series, view);
    return redrawn();
}

OptionResult changeAxisStep(const PriceSeries& series, ViewState& view, InputBoxes& boxes,
                            int plotRows) {
    if (series.dataCount == 0) return {};
    const std::optional<double> entry =
        entryNumber(boxes.ask({QStringLiteral("Y軸の刻み値は")}, QString()));
    if (!entry || *entry <= 0) return {};
    const float step = static_cast<float>(*entry);
    if (!(step > 0) || !std::isfinite(step)) return {};
    ViewState scanned = view;
    scanned.userStep = step;
    scanVisibleRange(series, scanned);
    // The smallest step whose grid has no more lines than the plot has rows, and the largest
    // prices: a step beyond them puts the whole chart in one interval.
    const double high = scanned.visibleHigh.toDouble(), low = scanned.visibleLow.toDouble();
    const double smallest = (high - low) / std::max(plotRows, 1);
    const double largest = std::max(std::fabs(high), std::fabs(low));
    if (gridLines(scanned.visibleHigh, scanned.visibleLow, step) > plotRows || step > largest)
        return refused(QStringLiteral("刻み値は") + number(roundedUp(smallest)) +
                       QStringLiteral("から") + number(largest) +
                       QStringLiteral("までの値にして下さい"));
    view = scanned;
    return redrawn();
}

OptionResult changeAxisRange(const PriceSeries& series, ViewState& view, InputBoxes& boxes,
                             int plotRows) {
    if (series.dataCount == 0) return {};
    const std::optional<double> high =
        entryNumber(boxes.ask({QStringLiteral("Y軸の最大値は")}, QString()));
    if (!high || *high == 0) return {};
    const std::optional<double> low =
        entryNumber(boxes.ask({QStringLiteral("Y軸の最小値は")}, QString()));
    if (!low || *low == 0) return {};
    if (*high < *low)
        return {false, nimbrelMessage(QStringLiteral("最大が最少を下回っています"),
                                      MessageIcon::Exclamation)};
    const std::optional<Fixed4> top = Fixed4::fromDouble(*high);
    const std::optional<Fixed4> bottom = Fixed4::fromDouble(*low);
    if (!top || !bottom) return {};
    if (view.logY && *low <= 0)
        return refused(QStringLiteral("対数軸では最少値を0より大きくして下さい"));
    if (view.userStep > 0 && gridLines(*top, *bottom, view.userStep) > plotRows)
        return refused(QStringLiteral("最大と最少の差を") +
                       number(double(view.userStep) * std::max(plotRows, 1)) +
                       QStringLiteral("以下にして下さい"));
    setPriceRange(view, *top, *bottom);
    return redrawn();
}

OptionResult reduceDrawing(const PriceSeries& series, ViewState& view, InputBoxes& boxes) {
    if (series.dataCount == 0) return {};
    const auto askPercent = [&](const QString& prompt) -> std::optional<float> {
        const std::optional<double> percent =
            entryNumber(boxes.ask({prompt, QStringLiteral("(最大=100)")}, QStringLiteral("100")));
        if (!percent || *percent <= 0) return std::nullopt;
        const float factor = static_cast<float>(*percent / 100);
        if (!(factor > 0)) return std::nullopt;
        return std::min(factor, 1.0f);
    };
    const std::optional<float> vertical = askPercent(QStringLiteral("画面(縦)の縮小率は"));
    if (!vertical) return {};
    const std::optional<float> horizontal = askPercent(QStringLiteral("画面(横)の縮小率は"));
    if (!horizontal) return {};
    view.reduceY = *vertical;
    view.reduceX = *horizontal;
    return redrawn();
}

} // namespace nimbrel
