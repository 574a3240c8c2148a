#include "workbook/BiffWorkbook.h"

#include <algorithm>
#include <type_traits>
#include <unordered_map>

namespace nimbrel::biff {

// The cell records of one worksheet, each to its handler. A handler is false when its record
// is too short for what it must hold: the sheet is then damaged.
class SheetRecords {
public:
    SheetRecords(BiffWorkbook& workbook, int rowsKept) : book_(workbook), cells_(rowsKept) {
        cells_.setDateSystem(workbook.dateSystem_);
    }

    bool take(const Record& r) {
        if (r.id == kString) {
            stringResult(r);
            return true;
        }
        if (!isCellRecord(r.id)) return true;
        // Another cell ends the wait for a formula's text result.
        pendingRow_ = pendingColumn_ = -1;
        switch (r.id) {
        case kNumber:
            return cell(r, 14, [&](int row, int column, uint16_t xf) {
                put(row, column, book_.numberCell(xf, f64(r.data + 6)));
            });
        case kRk:
            return cell(r, 10, [&](int row, int column, uint16_t xf) {
                put(row, column, book_.numberCell(xf, rkValue(u32(r.data + 6))));
            });
        case kMulRk:
            return cell(r, 6, [&](int row, int column, uint16_t) { multipleRk(r, row, column); });
        case kLabelSst:
            return cell(r, 10, [&](int row, int column, uint16_t) {
                cells_.noteColumn(column);
                if (!cells_.keeps(row, column)) return;
                sharedAt_[key(row, column)] = shared_.size();
                shared_.push_back({row, column, u32(r.data + 6)});
            });
        case kLabel:
        case kRichString:
            return cell(r, 6, [&](int row, int column, uint16_t) { return text(r, row, column); });
        case kBlank:
            return cell(r, 6, [&](int row, int column, uint16_t) { put(row, column, {}); });
        case kMulBlank:
            return cell(r, 6, [&](int row, int column, uint16_t) {
                const int last = u16(r.data + r.size - 2);
                cells_.noteColumn(std::max(column, last));
                for (int c = column; c <= std::min(last, WorksheetCells::kColumns - 1); ++c)
                    put(row, c, {});
            });
        case kBoolErr:
            return cell(r, 8, [&](int row, int column, uint16_t) {
                const CellKind kind = r.data[7] ? CellKind::Error : CellKind::Boolean;
                put(row, column, WorksheetCell{kind, false, double(r.data[6]), 0, 0});
            });
        case kFormula:
            return cell(r, 20,
                        [&](int row, int column, uint16_t xf) { formula(r, row, column, xf); });
        default:
            return true;
        }
    }

    WorksheetCells finish() {
        book_.resolveSharedTexts(cells_, shared_);
        return std::move(cells_);
    }

private:
    static constexpr WorksheetCell kDamaged{CellKind::Error, false, kDamagedCellCode, 0, 0};

    static uint64_t key(int row, int column) { return uint64_t(row) << 16 | uint32_t(column); }

    // A cell record replaces what an earlier record put in the same cell, as in a spreadsheet:
    // a shared string waiting to be looked up included.
    void replaced(int row, int column) {
        const auto shared = sharedAt_.find(key(row, column));
        if (shared == sharedAt_.end()) return;
        shared_[shared->second].replaced = true;
        sharedAt_.erase(shared);
    }
    void put(int row, int column, const WorksheetCell& cell) {
        replaced(row, column);
        cells_.set(row, column, cell);
    }
    void putText(int row, int column, std::string_view utf8, bool cut = false) {
        replaced(row, column);
        cells_.setText(row, column, utf8, cut);
    }

    static bool isCellRecord(uint16_t id) {
        return id == kNumber || id == kRk || id == kMulRk || id == kLabelSst || id == kLabel ||
               id == kRichString || id == kBlank || id == kMulBlank || id == kBoolErr ||
               id == kFormula;
    }

    // Every cell record starts with its row, column and format; the handler returns false
    // itself where it reads further texts that may be damaged.
    template <typename Handler> bool cell(const Record& r, size_t leastSize, Handler handle) {
        if (r.size < std::max<size_t>(leastSize, 6)) return false;
        const int row = u16(r.data), column = u16(r.data + 2);
        if constexpr (std::is_same_v<decltype(handle(row, column, 0)), bool>)
            return handle(row, column, u16(r.data + 4));
        handle(row, column, u16(r.data + 4));
        return true;
    }

    void multipleRk(const Record& r, int row, int column) {
        const size_t count = (r.size - 6) / 6;
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* entry = r.data + 4 + 6 * i;
            put(row, column + static_cast<int>(i),
                book_.numberCell(u16(entry), rkValue(u32(entry + 2))));
        }
    }

    bool text(const Record& r, int row, int column) {
        cells_.noteColumn(column);
        if (!cells_.keeps(row, column)) return true;
        Utf8Builder text(WorksheetCells::kMaxCellTextBytes);
        if (!book_.readCellText(r, text)) return false;
        putText(row, column, text.text(), text.cut());
        return true;
    }

    void formula(const Record& r, int row, int column, uint16_t xf) {
        const uint8_t* result = r.data + 6;
        if (u16(result + 6) != 0xFFFF) {
            put(row, column, book_.numberCell(xf, f64(result)));
            return;
        }
        switch (result[0]) {
        case 0: // the text follows in a STRING record
            put(row, column, kDamaged);
            if (cells_.keeps(row, column)) {
                pendingRow_ = row;
                pendingColumn_ = column;
            }
            break;
        case 1:
            put(row, column, WorksheetCell{CellKind::Boolean, false, double(result[2] != 0), 0, 0});
            break;
        case 2:
            put(row, column, WorksheetCell{CellKind::Error, false, double(result[2]), 0, 0});
            break;
        case 3:
            putText(row, column, {});
            break;
        default:
            put(row, column, kDamaged);
            break;
        }
    }

    // The text result of the formula just before; one that cannot be read leaves the cell
    // damaged.
    void stringResult(const Record& r) {
        if (pendingRow_ < 0) return;
        ContinuedRecord in(book_.stream_, r);
        Utf8Builder text(WorksheetCells::kMaxCellTextBytes);
        bool read = false;
        if (book_.biff8_) {
            read = readUnicodeString(in, false, &text);
        } else if (r.size >= 2 && 2 + size_t(u16(r.data)) <= r.size) {
            book_.codePage_.decode(r.data + 2, u16(r.data), text);
            read = true;
        }
        if (read) putText(pendingRow_, pendingColumn_, text.text(), text.cut());
        pendingRow_ = pendingColumn_ = -1;
    }

    BiffWorkbook& book_;
    WorksheetCells cells_;
    std::vector<SharedTextCell> shared_;
    std::unordered_map<uint64_t, size_t> sharedAt_; // the cell's shared string still to look up
    int pendingRow_ = -1, pendingColumn_ = -1;      // a formula whose text result comes next
};

std::optional<WorksheetCells> BiffWorkbook::readSheet(size_t sheet, int rowsKept) {
    if (sheet >= sheetsAt_.size()) return std::nullopt;
    stream_.seek(sheetsAt_[sheet]);
    Record r;
    if (!stream_.next(r) || r.id != kBof) return std::nullopt;
    SheetRecords records(*this, rowsKept);
    // Charts and other objects inside the sheet have their own BOF .. EOF.
    for (int depth = 0; stream_.next(r);) {
        if (r.id == kBof) {
            ++depth;
        } else if (r.id == kEof) {
            if (depth-- == 0) return records.finish();
        } else if (depth == 0 && !records.take(r)) {
            return std::nullopt;
        }
    }
    return std::nullopt; // the sheet has no end
}

// Shared strings are looked up once the sheet is read, so that only those its kept cells use
// are decoded, in one pass over the table.

} // namespace nimbrel::biff
