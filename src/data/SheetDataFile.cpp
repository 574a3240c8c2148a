#include "data/SheetDataFile.h"

#include "data/DateForms.h"
#include "data/LoadFailures.h"
#include "data/TextForms.h"
#include "platform/Spreadsheet.h"

#include <cstdio>

namespace {

using Kind = SheetCell::Kind;

constexpr int kNameColumn = 0, kDateColumn = 1, kOpenColumn = 2, kHighColumn = 3, kLowColumn = 4,
              kCloseColumn = 5;

std::string dateText(const SheetCell& cell) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", cell.year, cell.month, cell.day);
    return text;
}

// The text a cell shows: numbers in their general form, dates as YYYY/MM/DD.
std::string cellText(const SheetCell& cell) {
    switch (cell.kind) {
    case Kind::Number:
        return generalNumber(cell.number);
    case Kind::Date:
        return dateText(cell);
    case Kind::Text:
        return std::string(cell.text);
    case Kind::Empty:
        break;
    }
    return {};
}

size_t characterCount(const std::string& utf8) {
    size_t count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

std::optional<Fixed4> cellDate(const SheetCell& cell, bool compact) {
    if (cell.kind == Kind::Date) return dateNumber(cell.year, cell.month, cell.day);
    if (compact) return compactDate(cellText(cell));
    // A number where a date is expected is a serial day, the way spreadsheets store dates.
    if (cell.kind == Kind::Number) return serialDate(cell.number);
    return calendarDateText(cell.text);
}

std::optional<Fixed4> cellPrice(const SheetCell& cell) {
    if (cell.kind == Kind::Number) return Fixed4::fromDouble(cell.number);
    if (cell.kind == Kind::Text) return Fixed4::fromText(cell.text);
    return std::nullopt;
}

} // namespace

std::optional<LoadFailure> loadSheetFile(PriceSeries& series, const QString& path,
                                         const QString& sheetSourceName) {
    QString sheetName = sheetSourceName;
    if (sheetName.endsWith(QLatin1Char('$'))) sheetName.chop(1);
    SheetOpenResult opened = openWorksheet(path, sheetName);
    switch (opened.status) {
    case SheetOpenStatus::CannotOpen:
        return cannotOpenFailure(path);
    case SheetOpenStatus::CannotRead:
        return cannotReadFailure(path);
    case SheetOpenStatus::NoSuchSheet:
        return sheetNameFailure();
    case SheetOpenStatus::Opened:
        break;
    }
    const Spreadsheet& sheet = *opened.sheet;
    const int columns = sheet.columnCount();

    const SheetCell& firstName = sheet.cell(1, kNameColumn);
    const SheetCell& firstDate = sheet.cell(1, kDateColumn);
    series.titleLine2 = QString::fromStdString(cellText(firstName));
    // A first day without a name ends the data before it starts.
    if (firstName.kind == Kind::Empty) return std::nullopt;
    const std::string firstDateText = cellText(firstDate);
    const size_t firstDateLength = characterCount(firstDateText);
    const bool compact = firstDateLength == 6 ||
                         (firstDateLength == 8 && firstDateText.find('/') == std::string::npos);

    int days = 0;
    Fixed4 low, close; // a sheet without columns E or F repeats the previous row's values
    std::optional<LoadFailure> failure;
    for (int row = 1; row < sheet.rowCount(); ++row) {
        const SheetCell& date = sheet.cell(row, kDateColumn);
        const SheetCell& open = sheet.cell(row, kOpenColumn);
        const SheetCell& high = sheet.cell(row, kHighColumn);
        const bool onePrice = high.kind == Kind::Empty;
        const SheetCell& lowCell = sheet.cell(row, kLowColumn);
        const SheetCell& closeCell = sheet.cell(row, kCloseColumn);
        // An empty cell where a value belongs ends the data; columns the sheet lacks do not.
        if (date.kind == Kind::Empty || open.kind == Kind::Empty) break;
        if (!onePrice && ((columns > kLowColumn && lowCell.kind == Kind::Empty) ||
                          (columns > kCloseColumn && closeCell.kind == Kind::Empty)))
            break;
        if (days == kMaxDays) {
            failure = tooManyDaysFailure();
            break;
        }

        PriceRow day;
        std::optional<Fixed4> dateValue = cellDate(date, compact);
        std::optional<Fixed4> openValue = cellPrice(open);
        bool readable = dateValue && openValue;
        if (readable && onePrice) {
            low = close = *openValue;
            day = {*dateValue, *openValue, *openValue, *openValue, *openValue};
        } else if (readable) {
            std::optional<Fixed4> highValue = cellPrice(high);
            std::optional<Fixed4> lowValue = columns > kLowColumn ? cellPrice(lowCell) : low;
            std::optional<Fixed4> closeValue =
                columns > kCloseColumn ? cellPrice(closeCell) : close;
            readable = highValue && lowValue && closeValue;
            if (readable) {
                low = *lowValue;
                close = *closeValue;
                day = {*dateValue, *openValue, *highValue, low, close};
            }
        }
        if (!readable) {
            failure = unreadableDayFailure(row + 1, days);
            break;
        }
        ++days;
        storeDay(series, days, day);
        series.priceFieldCount = onePrice ? 1 : 4;
    }
    series.dataCount = days;
    return failure;
}
