#include "data/SheetDataFile.h"

#include "data/DateForms.h"
#include "data/HeaderLayout.h"
#include "data/LoadFailures.h"
#include "data/TextForms.h"
#include "system/FileAccess.h"
#include "workbook/WorkbookProcess.h"

#include <QFileInfo>

#include <cstdio>

namespace nimbrel {

namespace {

using Kind = CellKind;

constexpr int kNameColumn = 0, kDateColumn = 1, kOpenColumn = 2, kHighColumn = 3, kLowColumn = 4,
              kCloseColumn = 5;
// The heading row, kMaxDays days and one more, which tells that the sheet has too many.
constexpr int kRowsUsed = kMaxDays + 2;

std::string errorText(double code) {
    switch (static_cast<int>(code)) {
    case 0x00:
        return "#NULL!";
    case 0x07:
        return "#DIV/0!";
    case 0x0F:
        return "#VALUE!";
    case 0x17:
        return "#REF!";
    case 0x1D:
        return "#NAME?";
    case 0x24:
        return "#NUM!";
    case 0x2A:
        return "#N/A";
    default:
        return {};
    }
}

// The text a cell shows: numbers in their general form, dates as YYYY/MM/DD, booleans and
// errors as the spreadsheet writes them.
std::string cellText(const WorksheetCells& sheet, const WorksheetCell& cell) {
    switch (cell.kind) {
    case Kind::Number:
        return generalNumber(cell.number);
    case Kind::Date:
        if (const std::optional<Fixed4> date = serialDate(cell.number, sheet.dateSystem())) {
            const int64_t ymd = date->units() / Fixed4::kUnitsPerWhole;
            char text[16];
            std::snprintf(text, sizeof text, "%04d/%02d/%02d", static_cast<int>(ymd / 10000),
                          static_cast<int>(ymd / 100 % 100), static_cast<int>(ymd % 100));
            return text;
        }
        return {};
    case Kind::Text:
        return std::string(sheet.text(cell));
    case Kind::Boolean:
        return cell.number != 0 ? "TRUE" : "FALSE";
    case Kind::Error:
        return errorText(cell.number);
    case Kind::Empty:
        break;
    }
    return {};
}

// A text cell holding "" shows as empty, as the result of =IF(...,"",...) below the last day
// does, so it ends the data like an empty cell.
bool isEmpty(const WorksheetCells& sheet, const WorksheetCell& cell) {
    return cell.kind == Kind::Empty ||
           (cell.kind == Kind::Text && !cell.cut && sheet.text(cell).empty());
}

// Booleans and errors are never dates or prices, and a text too long to keep is neither.
std::optional<Fixed4> cellDate(const WorksheetCells& sheet, const WorksheetCell& cell,
                               bool compact) {
    switch (cell.kind) {
    case Kind::Date:
        return serialDate(cell.number, sheet.dateSystem());
    case Kind::Number:
        // A number where a date is expected is a serial day, the way spreadsheets store dates,
        // unless the sheet writes its dates as digits.
        return compact ? compactNumberDate(cell.number)
                       : serialDate(cell.number, sheet.dateSystem());
    case Kind::Text: {
        if (cell.cut) return std::nullopt;
        const std::string text = asciiNumberForms(sheet.text(cell));
        return compact ? compactDate(text) : calendarDateText(text);
    }
    default:
        return std::nullopt;
    }
}

std::optional<Fixed4> cellPrice(const WorksheetCells& sheet, const WorksheetCell& cell) {
    if (cell.kind == Kind::Number) return Fixed4::fromDouble(cell.number);
    if (cell.kind == Kind::Text && !cell.cut)
        return Fixed4::fromText(asciiNumberForms(sheet.text(cell)));
    return std::nullopt;
}

// The first day's date decides how the sheet writes its dates: as digits (971109, 19971109,
// or a number that lost its leading zero, 80107 for 080107), or as calendar dates.
bool writesDatesAsDigits(const WorksheetCells& sheet, const WorksheetCell& firstDate) {
    if (firstDate.kind == Kind::Text && !firstDate.cut) {
        const std::string text = asciiNumberForms(sheet.text(firstDate));
        const size_t begin = text.find_first_not_of(" \t");
        if (begin == std::string::npos) return false;
        const std::string_view digits =
            std::string_view(text).substr(begin, text.find_last_not_of(" \t") - begin + 1);
        return (digits.size() == 6 || digits.size() == 8) &&
               digits.find_first_not_of("0123456789") == std::string_view::npos;
    }
    if (firstDate.kind != Kind::Number) return false;
    const std::string digits = generalNumber(firstDate.number);
    return digits.size() == 6 || digits.size() == 8 ||
           (digits.size() == 5 && compactNumberDate(firstDate.number));
}

// The column names of a first row, as a header of a downloaded file names them.
std::vector<std::string> rowTexts(const WorksheetCells& sheet, int row) {
    std::vector<std::string> texts;
    for (int column = 0; column < WorksheetCells::kColumns; ++column)
        texts.push_back(cellText(sheet, sheet.cell(row, column)));
    return texts;
}

// A date in a column a header names: a date cell, YYYYMMDD as a number, a serial day, or a
// date text as data sites write them.
std::optional<Fixed4> headerCellDate(const WorksheetCells& sheet, const WorksheetCell& cell) {
    switch (cell.kind) {
    case Kind::Date:
        return serialDate(cell.number, sheet.dateSystem());
    case Kind::Number:
        if (generalNumber(cell.number).size() == 8) return compactNumberDate(cell.number);
        return serialDate(cell.number, sheet.dateSystem());
    case Kind::Text:
        return cell.cut ? std::nullopt : headerDate(asciiNumberForms(sheet.text(cell)));
    default:
        return std::nullopt;
    }
}

PriceField headerCellPrice(const WorksheetCells& sheet, const WorksheetCell& cell) {
    switch (cell.kind) {
    case Kind::Empty:
        return {};
    case Kind::Number:
        return {true, Fixed4::fromDouble(cell.number)};
    case Kind::Text:
        return cell.cut ? PriceField{true, std::nullopt} : priceField(sheet.text(cell));
    default:
        return {true, std::nullopt};
    }
}

std::optional<LoadFailure> loadHeaderSheet(PriceSeries& series, const WorksheetCells& sheet,
                                           const HeaderColumns& columns, int rowsRead) {
    const bool four = columns.fourPrices();
    std::vector<HeaderRow> rows;
    for (int row = 1; row < sheet.rowCount(); ++row) {
        auto price = [&](int column) { return headerCellPrice(sheet, sheet.cell(row, column)); };
        rows.push_back(headerRow(
            row + 1, headerCellDate(sheet, sheet.cell(row, columns.date)), four,
            {price(columns.open), price(columns.high), price(columns.low), price(columns.close)}));
    }
    return storeHeaderRows(series, std::move(rows), four,
                           sheet.rowCount() >= rowsRead ? RowsAfter::Unread : RowsAfter::None);
}

} // namespace

std::optional<LoadFailure> loadSheetFile(PriceSeries& series, int file, const QString& path,
                                         const QString& sheetName) {
    const SheetOpenResult opened = openWorksheet(file, sheetName, kRowsUsed);
    switch (opened.status) {
    case SheetOpenStatus::CannotRead:
        return cannotReadFailure(path);
    case SheetOpenStatus::NoSuchSheet:
        return sheetNameFailure();
    case SheetOpenStatus::Opened:
        break;
    }
    return loadSheetCells(series, *opened.cells, QFileInfo(path).completeBaseName());
}

std::optional<LoadFailure> loadSheetCells(PriceSeries& series, const WorksheetCells& sheet,
                                          const QString& fileTitle) {
    clearSeries(series);
    // A first row naming a date and a close is a downloaded file's header: the sheet is read by
    // it, and its title is the file's name. A heading row that names the classic layout's own
    // columns (the date in B, the first price in C) stays a heading.
    const std::optional<HeaderColumns> header = headerColumns(rowTexts(sheet, 0));
    if (header && !(header->date == kDateColumn &&
                    (header->open == kOpenColumn || header->close == kOpenColumn))) {
        series.titleLine1 = fileTitle;
        return loadHeaderSheet(series, sheet, *header, kRowsUsed);
    }
    const int columns = sheet.usedColumns();
    const WorksheetCell& firstName = sheet.cell(1, kNameColumn);
    const WorksheetCell& firstDate = sheet.cell(1, kDateColumn);
    series.titleLine2 = QString::fromStdString(cellText(sheet, firstName));
    // A first day without a name ends the data before it starts.
    if (isEmpty(sheet, firstName)) return std::nullopt;
    const bool compact = writesDatesAsDigits(sheet, firstDate);

    int days = 0;
    Fixed4 low, close; // a sheet without columns E or F repeats the previous row's values
    std::optional<LoadFailure> failure;
    for (int row = 1; row < sheet.rowCount(); ++row) {
        const WorksheetCell& date = sheet.cell(row, kDateColumn);
        const WorksheetCell& open = sheet.cell(row, kOpenColumn);
        const WorksheetCell& high = sheet.cell(row, kHighColumn);
        const bool onePrice = isEmpty(sheet, high);
        const WorksheetCell& lowCell = sheet.cell(row, kLowColumn);
        const WorksheetCell& closeCell = sheet.cell(row, kCloseColumn);
        // An empty cell where a value belongs ends the data; columns the sheet lacks do not.
        if (isEmpty(sheet, date) || isEmpty(sheet, open)) break;
        if (!onePrice && ((columns > kLowColumn && isEmpty(sheet, lowCell)) ||
                          (columns > kCloseColumn && isEmpty(sheet, closeCell))))
            break;
        if (days == kMaxDays) {
            failure = tooManyDaysFailure();
            break;
        }

        PriceRow day;
        std::optional<Fixed4> dateValue = cellDate(sheet, date, compact);
        std::optional<Fixed4> openValue = cellPrice(sheet, open);
        bool readable = dateValue && openValue;
        if (readable && onePrice) {
            low = close = *openValue;
            day = {*dateValue, *openValue, *openValue, *openValue, *openValue};
        } else if (readable) {
            std::optional<Fixed4> highValue = cellPrice(sheet, high);
            std::optional<Fixed4> lowValue = columns > kLowColumn ? cellPrice(sheet, lowCell) : low;
            std::optional<Fixed4> closeValue =
                columns > kCloseColumn ? cellPrice(sheet, closeCell) : close;
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

} // namespace nimbrel
