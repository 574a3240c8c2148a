#include "tools/Readout.h"

#include "chart/ViewState.h"
#include "tools/ToolTexts.h"

namespace nimbrel {

namespace {

const PriceRow& priceRow(const PriceSeries& series, int day) {
    static const PriceRow kNone{};
    return day >= 1 && day <= kMaxDays ? series.priceTable[static_cast<size_t>(day)] : kNone;
}

const IchimokuRow& ichimokuRow(const PriceSeries& series, int day) {
    static const IchimokuRow kNone{};
    return day >= 1 && day <= kMaxDays ? series.ichimokuTable[static_cast<size_t>(day)] : kNone;
}

} // namespace

ReadoutFields ReadoutFields::initial() {
    const QString digits = QStringLiteral("1234567890");
    return {QStringLiteral("??????"),
            digits,
            digits,
            digits,
            digits,
            digits,
            digits,
            digits,
            digits,
            digits,
            digits};
}

ReadoutFields readoutFields(const PriceSeries& series, int day, Fixed4 decimalsUnit) {
    const PriceRow& prices = priceRow(series, day);
    const IchimokuRow& lines = ichimokuRow(series, day);
    ReadoutFields fields;
    fields.caption = dateText(prices.date);
    fields.open = priceText(prices.open, decimalsUnit);
    fields.high = priceText(prices.high, decimalsUnit);
    fields.low = priceText(prices.low, decimalsUnit);
    fields.close = priceText(prices.close, decimalsUnit);
    fields.conversion = priceText(lines.conversion, decimalsUnit);
    fields.base = priceText(lines.base, decimalsUnit);
    // Up to day kLeadSlots nothing is drawn at the slot from before it, and the later close is
    // left out with the others.
    if (day > kLeadSlots) {
        const IchimokuRow& drawnHere = ichimokuRow(series, day - kLeadSlots);
        fields.span1 = priceText(drawnHere.span1, decimalsUnit);
        fields.span2 = priceText(drawnHere.span2, decimalsUnit);
        fields.laggingFront = priceText(priceRow(series, day - kLeadSlots).close, decimalsUnit);
        fields.laggingBack = priceText(priceRow(series, day + kLeadSlots).close, decimalsUnit);
    }
    return fields;
}

} // namespace nimbrel
