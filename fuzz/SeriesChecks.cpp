#include "SeriesChecks.h"

#include "data/CsvExport.h"
#include "data/DateForms.h"
#include "ichimoku/Ichimoku.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace nimbrel {

namespace {

[[noreturn]] void fail(std::string_view what, const char* broken, int row = -1) {
    std::fprintf(stderr, "%.*s: %s", static_cast<int>(what.size()), what.data(), broken);
    if (row >= 0) std::fprintf(stderr, " (row %d)", row);
    std::fputc('\n', stderr);
    std::abort();
}

// Whole-table fills and comparisons go through memset and memcmp, which the sanitizers check
// once per call rather than once per cell: a plain loop over 1.2 MB would cost most of every
// run's time.
template <typename Row, size_t N>
bool rowsAreZero(const std::array<Row, N>& table, size_t first, size_t last) {
    static const std::array<Row, N> zero{};
    if (first > last) return true;
    return std::memcmp(&table[first], &zero[first], (last - first + 1) * sizeof(Row)) == 0;
}

} // namespace

void dirtySeries(PriceSeries& series) {
    std::memset(series.priceTable.data(), 0xA5, sizeof series.priceTable);
    std::memset(series.ichimokuTable.data(), 0xA5, sizeof series.ichimokuTable);
    series.dataCount = -1;
    series.priceFieldCount = -1;
    series.titleLine1 = QStringLiteral("left over");
    series.titleLine2 = QStringLiteral("left over");
}

void checkLoadedSeries(PriceSeries& series, std::string_view what) {
    const int count = series.dataCount;
    if (count < 0 || count > kMaxDays) fail(what, "dataCount out of 0..kMaxDays", count);
    const int16_t fields = series.priceFieldCount;
    if (count == 0 ? fields != 0 : fields != 1 && fields != 4)
        fail(what, "priceFieldCount does not fit the days loaded", fields);

    // Every day loaded is dated by a real calendar day.
    for (int row = 1; row <= count; ++row) {
        const int64_t units = series.priceTable[static_cast<size_t>(row)].date.units();
        const int64_t ymd = units / Fixed4::kUnitsPerWhole;
        if (units % Fixed4::kUnitsPerWhole != 0 ||
            !dateNumber(static_cast<int>(ymd / 10000), static_cast<int>(ymd / 100 % 100),
                        static_cast<int>(ymd % 100)))
            fail(what, "a day's date is no calendar day", row);
    }

    computeIchimoku(series);
    const auto& prices = series.priceTable;
    const auto& lines = series.ichimokuTable;
    if (!rowsAreZero(prices, 0, 0) || !rowsAreZero(lines, 0, 0)) fail(what, "row 0 is not zero");
    const size_t firstUnused = static_cast<size_t>(count) + 1;
    if (!rowsAreZero(prices, firstUnused, kMaxDays))
        fail(what, "priceTable row beyond dataCount is not zero");
    if (!rowsAreZero(lines, firstUnused, kMaxDays))
        fail(what, "ichimokuTable row beyond dataCount is not zero");
    // Each line exists only from the day its first window is full; earlier cells stay zero.
    for (int row = 1; row <= std::min(count, kSpan2Days - 1); ++row) {
        const IchimokuRow& line = lines[static_cast<size_t>(row)];
        if ((row < kConversionDays && line.conversion != Fixed4()) ||
            (row < kBaseDays && line.base != Fixed4()) ||
            (row < kFirstSpan1Day && line.span1 != Fixed4()) || line.span2 != Fixed4())
            fail(what, "Ichimoku value before its first full window", row);
    }

    const std::string table = csvTable(series);
    if (table.empty() || table.back() != '\n') fail(what, "CSV table does not end in a newline");
    if (std::count(table.begin(), table.end(), '\n') != count + 1)
        fail(what, "CSV table does not have one line per day", count);
}

} // namespace nimbrel
