#include "LoaderTestSupport.h"

#include "data/TextForms.h"

#include <QFile>

namespace nimbrel {

std::string dayText(const PriceSeries& series, int day) {
    const PriceRow& row = series.priceTable[static_cast<size_t>(day)];
    return plainDecimal(row.date) + " " + plainDecimal(row.open) + " " + plainDecimal(row.high) +
           " " + plainDecimal(row.low) + " " + plainDecimal(row.close);
}

std::string fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

bool restIsZero(const PriceSeries& series) {
    const Fixed4 zero;
    for (int d = 0; d <= kMaxDays; ++d) {
        if (d >= 1 && d <= series.dataCount) continue;
        const PriceRow& p = series.priceTable[static_cast<size_t>(d)];
        const IchimokuRow& i = series.ichimokuTable[static_cast<size_t>(d)];
        for (Fixed4 v :
             {p.date, p.open, p.high, p.low, p.close, i.conversion, i.base, i.span1, i.span2})
            if (v != zero) return false;
    }
    return true;
}

} // namespace nimbrel
