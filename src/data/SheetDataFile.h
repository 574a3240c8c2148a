#pragma once

#include "data/DataFileLoader.h"
#include "workbook/WorksheetCells.h"

namespace nimbrel {

// Reads the worksheet that sheetName names of the workbook open at `file` (named `path`) into
// a cleared series.
[[nodiscard]] std::optional<LoadFailure>
loadSheetFile(PriceSeries& series, int file, const QString& path, const QString& sheetName);

// The days of a worksheet's cells, as loadSheetFile reads them once the workbook is open. A
// sheet read by its header row takes the file's title (its name without extension).
[[nodiscard]] std::optional<LoadFailure>
loadSheetCells(PriceSeries& series, const WorksheetCells& sheet, const QString& fileTitle = {});

} // namespace nimbrel
