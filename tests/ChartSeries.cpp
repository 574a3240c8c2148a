#include "ChartSeries.h"

#include "ichimoku/Ichimoku.h"

namespace nimbrel {

std::unique_ptr<PriceSeries> chartSeries(int days) {
    auto series = std::make_unique<PriceSeries>();
    for (int d = 1; d <= days; ++d) {
        PriceRow& row = series->priceTable[d];
        row.date = Fixed4::fromWhole(19990104 + (d - 1) / 20 * 100 + (d - 1) % 20);
        const int level = 4200 + (d * 37) % 500;
        row.open = Fixed4::fromWhole(level);
        row.close = Fixed4::fromWhole(d % 2 == 0 ? level + 30 : level - 30);
        row.high = Fixed4::fromWhole(level + 60);
        row.low = Fixed4::fromWhole(level - 60);
    }
    series->priceTable[1].low = Fixed4::fromWhole(4000);
    series->priceTable[days].high = Fixed4::fromWhole(5000);
    series->dataCount = days;
    series->priceFieldCount = 4;
    series->titleLine1 = QStringLiteral("見本");
    series->titleLine2 = QStringLiteral("日足");
    computeIchimoku(*series);
    return series;
}

std::unique_ptr<PriceSeries> onePriceSeries(int days) {
    auto series = chartSeries(days);
    for (int d = 1; d <= days; ++d) {
        PriceRow& row = series->priceTable[d];
        row.high = row.low = row.close = row.open;
    }
    series->priceFieldCount = 1;
    computeIchimoku(*series);
    return series;
}

} // namespace nimbrel
