#pragma once

#include "workbook/WorksheetCells.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbrel {

// Reads the cells of Excel 97 (BIFF8) and Excel 95 (BIFF5) workbooks, the compound file through
// libgsf and the workbook stream's records here, and of .xlsx and .xlsm workbooks, the zip
// through libgsf and the XML parts with Qt's stream reader. It keeps only what a load can use,
// the kept columns of the first rows, so its memory and time follow what it keeps and the bytes
// the file really has, never a size or count that the file claims.
class WorkbookReader {
public:
    // The workbook of an open file (left open), known by its first bytes whatever its name: a
    // compound file holding a workbook stream, or a zip holding a workbook part. Nullptr when
    // it is not a workbook this reader understands: neither of those, no workbook stream or
    // part, an older or encrypted format, no worksheet, a damaged sheet directory.
    [[nodiscard]] static std::unique_ptr<WorkbookReader> openFile(int fd);
    // The same from bytes in memory: a compound file, a zip, or a bare workbook stream.
    [[nodiscard]] static std::unique_ptr<WorkbookReader> openBytes(std::string_view bytes);

    virtual ~WorkbookReader() = default;

    // The worksheets, in the order of the workbook's tabs, in UTF-8.
    virtual const std::vector<std::string>& sheetNames() const = 0;
    virtual DateSystem dateSystem() const = 0;
    // The kept columns of rows 0..rowsKept-1 of a worksheet. Nullopt when its records or parts
    // are damaged.
    [[nodiscard]] virtual std::optional<WorksheetCells> readSheet(size_t sheet, int rowsKept) = 0;
};

} // namespace nimbrel
