#include "data/HeaderLayout.h"

#include "data/DateForms.h"
#include "data/LoadFailures.h"
#include "data/TextForms.h"

#include <algorithm>
#include <cctype>
#include <span>

namespace nimbrel {

namespace {

std::string_view trimmed(std::string_view text, std::string_view around = " \t") {
    const size_t begin = text.find_first_not_of(around);
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(around) - begin + 1);
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// A column's name as compared: no blanks or quotes around it, no <> (<CLOSE>), no trailing *
// (Close*), lower case.
std::string columnName(std::string_view name) {
    std::string_view bare = trimmed(name, " \t\"'");
    if (bare.starts_with('<') && bare.ends_with('>')) bare = bare.substr(1, bare.size() - 2);
    while (bare.ends_with('*')) bare.remove_suffix(1);
    return lowerAscii(trimmed(bare));
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int monthNamed(std::string_view name) {
    static constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                              "jul", "aug", "sep", "oct", "nov", "dec"};
    const std::string lower = lowerAscii(name);
    if (lower.size() < 3) return 0;
    for (int m = 0; m < 12; ++m) {
        // Jan, January and Sept all name their month.
        const std::string_view full[] = {"january",   "february", "march",    "april",
                                         "may",       "june",     "july",     "august",
                                         "september", "october",  "november", "december"};
        if (lower == kMonths[m] || lower == full[m] || (m == 8 && lower == "sept")) return m + 1;
    }
    return 0;
}

int number(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

// The runs of letters and of digits of a text, the separators between them dropped.
std::vector<std::string_view> tokens(std::string_view text) {
    std::vector<std::string_view> found;
    size_t at = 0;
    while (at < text.size()) {
        const bool digit = isDigit(text[at]);
        const bool letter = std::isalpha(static_cast<unsigned char>(text[at])) != 0;
        if (!digit && !letter) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() &&
               (digit ? isDigit(text[end]) : std::isalpha(static_cast<unsigned char>(text[end]))))
            ++end;
        found.push_back(text.substr(at, end - at));
        at = end;
    }
    return found;
}

// "Jan 5, 2023" and "5 Jan 2023".
std::optional<Fixed4> dateWithMonthName(std::string_view text) {
    const std::vector<std::string_view> parts = tokens(text);
    if (parts.size() != 3) return std::nullopt;
    auto digits = [](std::string_view s) {
        return !s.empty() && s.size() <= 4 && std::all_of(s.begin(), s.end(), isDigit);
    };
    if (monthNamed(parts[0]) && digits(parts[1]) && parts[2].size() == 4 && digits(parts[2]))
        return dateNumber(number(parts[2]), monthNamed(parts[0]), number(parts[1]));
    if (digits(parts[0]) && monthNamed(parts[1]) && parts[2].size() == 4 && digits(parts[2]))
        return dateNumber(number(parts[2]), monthNamed(parts[1]), number(parts[0]));
    return std::nullopt;
}

} // namespace

int HeaderColumns::count() const {
    return std::max({date, open, high, low, close}) + 1;
}

std::optional<HeaderColumns> headerColumns(const std::vector<std::string>& names) {
    HeaderColumns columns;
    int time = -1, price = -1;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        const std::string name = columnName(names[size_t(i)]);
        auto take = [i](int& column) {
            if (column < 0) column = i;
        };
        if (name == "date" || name == "日付") take(columns.date);
        if (name == "time" || name == "timestamp") take(time);
        if (name == "open" || name == "始値") take(columns.open);
        if (name == "high" || name == "高値") take(columns.high);
        if (name == "low" || name == "安値") take(columns.low);
        if (name == "close" || name == "終値") take(columns.close);
        if (name == "price") take(price);
    }
    // A time column holds the dates where no column is named for them; the price is the close
    // where none is named close.
    if (columns.date < 0) columns.date = time;
    if (columns.close < 0) columns.close = price;
    if (columns.date < 0 || columns.close < 0) return std::nullopt;
    return columns;
}

std::optional<Fixed4> headerDate(std::string_view text) {
    text = trimmed(text, " \t\"'");
    // A time of day after the date is dropped: 2023-01-05 00:00:00, 2023-01-05T00:00:00Z.
    const size_t time = text.find_first_of(" T");
    const std::string_view day =
        time == std::string_view::npos || !isDigit(text.front()) ? text : text.substr(0, time);
    if (const std::optional<Fixed4> digits = digitsDate(day); digits && day.size() == 8)
        return digits;
    if (!day.empty() && isDigit(day.front())) {
        const std::vector<std::string_view> parts = tokens(day);
        // Year first, four digits: 2023-01-05, 2023/1/5, 2023.01.05, 2023年1月5日.
        if (parts.size() == 3 && parts[0].size() == 4 &&
            std::all_of(parts.begin(), parts.end(),
                        [](std::string_view p) {
                            return !p.empty() && p.size() <= 4 &&
                                   std::all_of(p.begin(), p.end(), isDigit);
                        }) &&
            parts[1].size() <= 2 && parts[2].size() <= 2 && calendarDateText(day))
            return calendarDateText(day);
    }
    return dateWithMonthName(text);
}

PriceField priceField(std::string_view text) {
    const std::string_view bare = trimmed(text, " \t\"'");
    const std::string lower = lowerAscii(bare);
    if (lower.empty() || lower == "null" || lower == "nan" || lower == "-") return {};
    return {true, Fixed4::fromText(asciiNumberForms(bare))};
}

HeaderRow headerRow(int64_t line, std::optional<Fixed4> date, bool fourPrices,
                    const std::array<PriceField, 4>& prices) {
    HeaderRow row;
    row.line = line;
    const auto used = fourPrices ? std::span(prices) : std::span(prices).last(1);
    const auto present = std::count_if(used.begin(), used.end(),
                                       [](const PriceField& field) { return field.present; });
    if (present == 0) {
        row.kind = HeaderRow::Kind::NoTrading;
        return row;
    }
    const bool readable =
        date && size_t(present) == used.size() &&
        std::all_of(used.begin(), used.end(), [](const PriceField& f) { return f.price; });
    if (!readable) {
        row.kind = HeaderRow::Kind::Unreadable;
        return row;
    }
    const Fixed4 close = *prices[3].price;
    row.day = fourPrices
                  ? PriceRow{*date, *prices[0].price, *prices[1].price, *prices[2].price, close}
                  : PriceRow{*date, close, close, close, close};
    return row;
}

std::optional<LoadFailure> storeHeaderRows(PriceSeries& series, std::vector<HeaderRow> rows,
                                           bool fourPrices, RowsAfter after) {
    std::erase_if(rows,
                  [](const HeaderRow& row) { return row.kind == HeaderRow::Kind::NoTrading; });
    // Newest first when the first day is later than the last one.
    const auto first = std::find_if(rows.begin(), rows.end(), [](const HeaderRow& row) {
        return row.kind == HeaderRow::Kind::Day;
    });
    const auto last = std::find_if(rows.rbegin(), rows.rend(), [](const HeaderRow& row) {
        return row.kind == HeaderRow::Kind::Day;
    });
    const bool newestFirst = first != rows.end() && first->day.date > last->day.date;
    if (newestFirst) std::reverse(rows.begin(), rows.end());

    std::optional<LoadFailure> failure;
    size_t days = 0;
    for (const HeaderRow& row : rows) {
        if (row.kind == HeaderRow::Kind::Unreadable ||
            (days > 0 && row.day.date <= rows[days - 1].day.date)) {
            failure =
                unreadableDayFailure(row.line, static_cast<int>(std::min<size_t>(days, kMaxDays)));
            break;
        }
        ++days;
    }
    // Of more days than the series holds, the newest, where they were read.
    const bool newestRead = newestFirst || after == RowsAfter::None;
    const size_t from = days > size_t(kMaxDays) && newestRead ? days - kMaxDays : 0;
    if (days > size_t(kMaxDays) && !failure)
        failure = newestRead ? newestDaysKeptFailure() : tooManyDaysFailure();
    days = std::min(days, from + kMaxDays);
    for (size_t i = from; i < days; ++i)
        storeDay(series, static_cast<int>(i - from + 1), rows[i].day);
    series.dataCount = static_cast<int32_t>(days - from);
    series.priceFieldCount = static_cast<int16_t>(days == 0 ? 0 : fourPrices ? 4 : 1);
    return failure;
}

} // namespace nimbrel
