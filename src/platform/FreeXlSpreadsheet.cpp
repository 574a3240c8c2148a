#include "platform/Spreadsheet.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <freexl.h>

namespace {

class FreeXlSpreadsheet final : public Spreadsheet {
public:
    FreeXlSpreadsheet(const void* handle, int rows, int columns)
        : handle_(handle), rows_(rows), columns_(columns) {}
    ~FreeXlSpreadsheet() override { freexl_close(handle_); }
    FreeXlSpreadsheet(const FreeXlSpreadsheet&) = delete;
    FreeXlSpreadsheet& operator=(const FreeXlSpreadsheet&) = delete;

    int rowCount() const override { return rows_; }
    int columnCount() const override { return columns_; }

    SheetCell cell(int row, int column) const override {
        SheetCell cell;
        if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return cell;
        FreeXL_CellValue value;
        if (freexl_get_cell_value(handle_, static_cast<unsigned>(row),
                                  static_cast<unsigned short>(column), &value) != FREEXL_OK)
            return cell;
        switch (value.type) {
        case FREEXL_CELL_INT:
            cell.kind = SheetCell::Kind::Number;
            cell.number = value.value.int_value;
            break;
        case FREEXL_CELL_DOUBLE:
            cell.kind = SheetCell::Kind::Number;
            cell.number = value.value.double_value;
            break;
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
            // "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS"
            if (value.value.text_value && std::sscanf(value.value.text_value, "%d-%d-%d",
                                                      &cell.year, &cell.month, &cell.day) == 3) {
                cell.kind = SheetCell::Kind::Date;
                break;
            }
            [[fallthrough]];
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_TIME:
            cell.kind = SheetCell::Kind::Text;
            if (value.value.text_value) cell.text = value.value.text_value;
            break;
        default:
            break;
        }
        return cell;
    }

private:
    const void* handle_;
    int rows_;
    int columns_;
};

} // namespace

SheetOpenResult openWorksheet(const QString& path, const QString& sheetName) {
    SheetOpenResult result;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return result;
    }
    result.status = SheetOpenStatus::CannotRead;
    const void* handle = nullptr;
    if (freexl_open(QFile::encodeName(path).constData(), &handle) != FREEXL_OK) {
        if (handle) freexl_close(handle);
        return result;
    }
    auto fail = [handle](SheetOpenStatus status) {
        freexl_close(handle);
        return SheetOpenResult{status, nullptr};
    };
    unsigned int info = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) != FREEXL_OK ||
        info == FREEXL_BIFF_OBFUSCATED)
        return fail(SheetOpenStatus::CannotRead);
    unsigned int sheetCount = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK)
        return fail(SheetOpenStatus::CannotRead);
    for (unsigned int index = 0; index < sheetCount && index <= 0xFFFF; ++index) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle, static_cast<unsigned short>(index), &name) !=
                FREEXL_OK ||
            !name)
            continue;
        if (QString::fromUtf8(name).compare(sheetName, Qt::CaseInsensitive) != 0) continue;
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(handle, static_cast<unsigned short>(index)) !=
                FREEXL_OK ||
            freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK)
            return fail(SheetOpenStatus::CannotRead);
        result.status = SheetOpenStatus::Opened;
        result.sheet = std::make_unique<FreeXlSpreadsheet>(
            handle, static_cast<int>(std::min(rows, 1u << 30)), columns);
        return result;
    }
    return fail(SheetOpenStatus::NoSuchSheet);
}
