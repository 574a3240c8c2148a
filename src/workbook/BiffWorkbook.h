#pragma once

#include "workbook/BiffRecords.h"
#include "workbook/WorkbookReader.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nimbrel {

// The workbook whose records the stream holds (the "Workbook" or "Book" stream of a compound
// file, or the bare stream). Nullptr when it is not one this reader understands: an older or
// encrypted format, no worksheet, a damaged sheet directory.
[[nodiscard]] std::unique_ptr<WorkbookReader>
openBiffWorkbook(std::unique_ptr<biff::StreamSource> stream);

namespace biff {

// A kept cell that holds a shared string, looked up once the whole sheet is read.
struct SharedTextCell {
    int row, column;
    uint32_t index;
    bool replaced = false; // a later record of the same cell holds its value
};

// The globals of the workbook stream (sheet directory, formats, date system, code page, where
// the shared strings are), read on opening; a worksheet's cells, read when asked for.
class BiffWorkbook final : public WorkbookReader {
public:
    explicit BiffWorkbook(std::unique_ptr<StreamSource> source) : stream_(std::move(source)) {}

    bool readGlobals();

    const std::vector<std::string>& sheetNames() const override { return names_; }
    DateSystem dateSystem() const override { return dateSystem_; }
    std::optional<WorksheetCells> readSheet(size_t sheet, int rowsKept) override;

private:
    bool readBoundSheet(const Record& record);
    void readFormat(const Record& record);
    std::string decodeName(const uint8_t* bytes, size_t count, bool wide);
    bool isDateXf(uint16_t xf) const;
    WorksheetCell numberCell(uint16_t xf, double value) const {
        return WorksheetCell{isDateXf(xf) ? CellKind::Date : CellKind::Number, false, value, 0, 0};
    }
    bool readCellText(const Record& record, Utf8Builder& text);
    void resolveSharedTexts(WorksheetCells& cells, std::vector<SharedTextCell>& shared);
    friend class SheetRecords; // the handlers of a sheet's cell records

    RecordStream stream_;
    bool biff8_ = true;
    DateSystem dateSystem_ = DateSystem::From1900;
    CodePageDecoder codePage_;
    std::vector<uint16_t> xfFormats_;
    std::vector<int8_t> formatIsDate_ = std::vector<int8_t>(0x10000, -1); // -1: built in
    std::optional<uint64_t> sharedStringsAt_;
    std::vector<std::string> names_;
    std::vector<uint64_t> sheetsAt_;
};

} // namespace biff
} // namespace nimbrel
