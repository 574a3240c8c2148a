#pragma once

#include "data/DataFileLoader.h"

// Reads the worksheet of an Excel 97 workbook that sheetSourceName names (the sheet name
// followed by "$") into a cleared series.
[[nodiscard]] std::optional<LoadFailure> loadSheetFile(PriceSeries& series, const QString& path,
                                                       const QString& sheetSourceName);
