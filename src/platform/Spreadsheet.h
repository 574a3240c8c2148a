#pragma once

#include <QString>

#include <memory>
#include <string_view>

// One cell of a worksheet as the loader needs it.
struct SheetCell {
    enum class Kind { Empty, Number, Date, Text };
    Kind kind = Kind::Empty;
    double number = 0;                // Number
    int year = 0, month = 0, day = 0; // Date
    std::string_view text;            // Text, in UTF-8, held by the sheet
};

// The active worksheet of an opened workbook. Rows and columns count from 0; row 0 is the
// heading row. Cells outside rowCount() x columnCount() do not exist.
class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    // An empty cell outside the sheet.
    virtual const SheetCell& cell(int row, int column) const = 0;
};

enum class SheetOpenStatus { Opened, CannotOpen, CannotRead, NoSuchSheet };

struct SheetOpenResult {
    SheetOpenStatus status = SheetOpenStatus::CannotOpen;
    std::unique_ptr<Spreadsheet> sheet; // set when opened
};

// Opens the worksheet named sheetName (matched without regard to case) of an Excel 97 workbook.
[[nodiscard]] SheetOpenResult openWorksheet(const QString& path, const QString& sheetName);
