#pragma once

#include "data/DataFileLoader.h"
#include "workbook/WorksheetCells.h"

namespace nimbrel {

// Reads the worksheet of an Excel 97 workbook that sheetName names into a cleared series.
[[nodiscard]] std::optional<LoadFailure> loadSheetFile(PriceSeries& series, const QString& path,
                                                       const QString& sheetName);

// The days of a worksheet's cells, as loadSheetFile reads them once the workbook is open.
[[nodiscard]] std::optional<LoadFailure> loadSheetCells(PriceSeries& series,
                                                        const WorksheetCells& sheet);

} // namespace nimbrel
