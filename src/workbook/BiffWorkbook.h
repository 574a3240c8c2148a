#pragma once

#include "workbook/BiffRecords.h"
#include "workbook/WorkbookReader.h"

#include <memory>

namespace nimbrel {

// The workbook whose records the stream holds (the "Workbook" or "Book" stream of a compound
// file, or the bare stream). Nullptr when it is not one this reader understands: an older or
// encrypted format, no worksheet, a damaged sheet directory.
[[nodiscard]] std::unique_ptr<WorkbookReader> openBiffWorkbook(
    std::unique_ptr<biff::StreamSource> stream);

} // namespace nimbrel
