#pragma once

#include "workbook/WorkbookReader.h"

#include <gsf/gsf-input.h>

#include <memory>

namespace nimbrel {

// The workbook of an .xlsx or .xlsm package (a zip) read from `input`, whose reference it
// takes. Nullptr when it is not one: not a zip, no workbook part, no worksheet, a sheet whose
// relationship is missing or leads nowhere, or a workbook, relationship or style part that is
// damaged or refused.
[[nodiscard]] std::unique_ptr<WorkbookReader> openXlsxWorkbook(GsfInput* input);

} // namespace nimbrel
