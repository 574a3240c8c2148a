#pragma once

#include "data/DataFileLoader.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbrel {

// Files downloaded from data sites name their columns in a header row, in any order and with
// columns the chart does not use (Adj Close, Volume, 出来高 ...). These are the rules such files
// share, whether they come as delimited text or as a worksheet.

// The columns that a header row names, counted from 0; -1 for one it does not name.
struct HeaderColumns {
    int date = -1, open = -1, high = -1, low = -1, close = -1;
    // With open, high and low the days have four prices; otherwise the close alone.
    bool fourPrices() const { return open >= 0 && high >= 0 && low >= 0; }
    int count() const; // one past the last column used
};

// The columns of a header row's names (blanks and quotes around a name, its case and a <> or
// trailing * around it do not matter), or nullopt when they name no date or no close: the file
// is then in the classic layout.
[[nodiscard]] std::optional<HeaderColumns> headerColumns(const std::vector<std::string>& names);

// A date as data sites write it: 2023-01-05, 2023/01/05, 2023/1/5, 20230105, 2023.01.05,
// 2023年1月5日, Jan 5, 2023 or 5 Jan 2023, maybe followed by a time of day, which is dropped. A
// real calendar day only.
[[nodiscard]] std::optional<Fixed4> headerDate(std::string_view text);

// A price field: nullopt for one that holds none (empty, null, NaN, "-"), the price for a
// number, and a failure for anything else.
struct PriceField {
    bool present = false;
    std::optional<Fixed4> price; // set when present and readable
};
[[nodiscard]] PriceField priceField(std::string_view text);

// One row of a file read by its header, in the file's order.
struct HeaderRow {
    enum class Kind { Day, NoTrading, Unreadable };
    int64_t line = 0; // as a message names it
    Kind kind = Kind::Day;
    PriceRow day;
};

// The row of a date and its open, high, low and close fields (the close alone counts for a
// one-price file): a day without trading when no field used holds a price, an unreadable row
// when some do and some do not, or when the date or a price cannot be read.
[[nodiscard]] HeaderRow headerRow(int64_t line, std::optional<Fixed4> date, bool fourPrices,
                                  const std::array<PriceField, 4>& prices);

// Whether the file has rows after the last one read (a worksheet is read only as far as a load
// can use).
enum class RowsAfter { None, Unread };

// Stores the days of the rows into a cleared series, oldest first: a file listed newest first is
// turned round. A date out of order or repeated is an unreadable day, as is an unreadable row;
// the days before it in time are kept. Of more days than the series holds, the newest are kept,
// unless the newest were never read (a file listed oldest first with rows unread): then the
// first ones.
[[nodiscard]] std::optional<LoadFailure> storeHeaderRows(PriceSeries& series,
                                                         std::vector<HeaderRow> rows,
                                                         bool fourPrices,
                                                         RowsAfter after = RowsAfter::None);

} // namespace nimbrel
