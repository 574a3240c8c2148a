// Feeds arbitrary bytes to the workbook reader, as a compound file, a zip (.xlsx) or a bare
// workbook stream, as their first bytes say, and loads the first worksheet's cells as a load of
// a workbook file does: the reader runs in this process here, so that coverage sees inside it.
// Seeds: fuzz/corpus/workbook/ (the .xlsx ones from fuzz/make_xlsx_seeds.py).
#include "SeriesChecks.h"

#include "data/SheetDataFile.h"
#include "workbook/WorkbookReader.h"

#include <QString>

#include <glib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace nimbrel;

namespace {

[[noreturn]] void fail(const char* broken) {
    std::fprintf(stderr, "workbook reader: %s\n", broken);
    std::abort();
}

bool isUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUtf8() ==
           QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// What the reader promises of every sheet it gives: texts in UTF-8 within the kept length, no
// row past those asked for, and the same cells after the trip through the pipe's form.
void checkCells(const WorksheetCells& cells, int rowsKept) {
    if (cells.rowCount() > rowsKept) fail("more rows than asked for");
    const std::optional<WorksheetCells> copy =
        WorksheetCells::deserialize(cells.serialize(), rowsKept);
    if (!copy || copy->serialize() != cells.serialize()) fail("cells change on the way");
    for (int row = 0; row < cells.rowCount(); ++row) {
        for (int column = 0; column < WorksheetCells::kColumns; ++column) {
            const std::string_view text = cells.text(cells.cell(row, column));
            if (text.size() > WorksheetCells::kMaxCellTextBytes || !isUtf8(text))
                fail("a text that is too long or not UTF-8");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The container library's warnings about damaged files would drown the fuzzer's output.
    g_log_set_default_handler([](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr int kRowsKept = kMaxDays + 2;
    static const auto series = std::make_unique<PriceSeries>();
    const std::unique_ptr<WorkbookReader> workbook =
        WorkbookReader::openBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!workbook) return 0;
    if (workbook->sheetNames().empty()) fail("opened without a worksheet");
    for (const std::string& name : workbook->sheetNames())
        if (!isUtf8(name)) fail("a sheet name that is not UTF-8");
    const std::optional<WorksheetCells> cells = workbook->readSheet(0, kRowsKept);
    if (!cells) return 0;
    checkCells(*cells, kRowsKept);
    dirtySeries(*series);
    (void)loadSheetCells(*series, *cells);
    checkLoadedSeries(*series, "workbook load");
    return 0;
}
