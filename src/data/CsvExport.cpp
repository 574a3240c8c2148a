#include "data/CsvExport.h"

#include "data/TextForms.h"

#include <algorithm>
#include <charconv>

namespace nimbrel {

std::string csvTable(const PriceSeries& series) {
    std::string out = "day,date,open,high,low,close,conversion,base,span1,span2\n";
    const int count = std::clamp(series.dataCount, 0, kMaxDays);
    out.reserve(out.size() + static_cast<size_t>(count) * 96);
    // A line at a time into the table: 135 000 values appended one by one cost more than
    // writing them.
    char line[12 + 9 * (1 + kPlainDecimalRoom) + 1];
    for (int day = 1; day <= count; ++day) {
        const PriceRow& p = series.priceTable[static_cast<size_t>(day)];
        const IchimokuRow& i = series.ichimokuTable[static_cast<size_t>(day)];
        char* end = std::to_chars(line, line + 12, day).ptr;
        for (Fixed4 value :
             {p.date, p.open, p.high, p.low, p.close, i.conversion, i.base, i.span1, i.span2}) {
            *end++ = ',';
            end = writePlainDecimal(end, value);
        }
        *end++ = '\n';
        out.append(line, end);
    }
    return out;
}

} // namespace nimbrel
