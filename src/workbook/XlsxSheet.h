#pragma once

#include "workbook/WorksheetCells.h"
#include "workbook/ZipPackage.h"

#include <optional>
#include <string_view>
#include <vector>

namespace nimbrel::xlsx {

// What the cells of a workbook's sheets refer to.
struct SheetContext {
    std::string_view sharedStringsPart;  // empty: the workbook has no shared strings
    const std::vector<bool>& dateStyles; // by cell style: whether it shows dates
    DateSystem dateSystem;
};

// The cells of rows 0..rowsKept-1 that WorksheetCells keeps, of the sheet part; the sheet is
// read no further. Nullopt when the part, or the shared strings its kept cells use, are
// damaged or refused.
[[nodiscard]] std::optional<WorksheetCells> readSheetCells(const ZipPackage& package,
                                                           std::string_view sheetPart,
                                                           const SheetContext& context,
                                                           int rowsKept);

} // namespace nimbrel::xlsx
