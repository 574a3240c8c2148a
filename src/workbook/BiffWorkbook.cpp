#include "workbook/BiffWorkbook.h"

#include "workbook/NumberFormats.h"

#include <algorithm>
#include <optional>
#include <type_traits>

namespace nimbrel {

using namespace biff;

namespace {

struct SharedTextCell {
    int row, column;
    uint32_t index;
};

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
    friend class SheetRecords;

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

std::string BiffWorkbook::decodeName(const uint8_t* bytes, size_t count, bool wide) {
    Utf8Builder name(kMaxNameBytes);
    if (!biff8_)
        codePage_.decode(bytes, count, name);
    else
        for (size_t i = 0; i < count && !name.cut(); ++i)
            name.add(wide ? u16(bytes + 2 * i) : bytes[i]);
    name.finish();
    return name.text();
}

bool BiffWorkbook::readBoundSheet(const Record& r) {
    const size_t header = biff8_ ? 8 : 7;
    if (r.size < header) return false;
    const size_t count = r.data[6];
    const bool wide = biff8_ && (r.data[7] & 1);
    if (header + count * (wide ? 2 : 1) > r.size) return false;
    const uint8_t type = r.data[5];
    if (type != 0) return true; // charts and macro modules hold no cells to load
    sheetsAt_.push_back(u32(r.data));
    names_.push_back(decodeName(r.data + header, count, wide));
    return true;
}

void BiffWorkbook::readFormat(const Record& r) {
    if (r.size < 3) return;
    const uint16_t index = u16(r.data);
    std::string text;
    if (biff8_) {
        if (r.size < 5) return;
        const bool wide = r.data[4] & 1;
        const size_t fits = (r.size - 5) / (wide ? 2 : 1);
        text = decodeName(r.data + 5, std::min<size_t>(u16(r.data + 2), fits), wide);
    } else {
        text = decodeName(r.data + 3, std::min<size_t>(r.data[2], r.size - 3), false);
    }
    formatIsDate_[index] = isDateFormatText(text) ? 1 : 0;
}

bool BiffWorkbook::isDateXf(uint16_t xf) const {
    if (xf >= xfFormats_.size()) return false;
    const uint16_t format = xfFormats_[xf];
    const int8_t known = formatIsDate_[format];
    return known < 0 ? isBuiltInDateFormat(format) : known == 1;
}

bool BiffWorkbook::readGlobals() {
    Record r;
    if (!stream_.next(r) || r.id != kBof || r.size < 4) return false;
    const uint16_t version = u16(r.data);
    if ((version != kBiff8 && version != kBiff5) || u16(r.data + 2) != kGlobalsBof) return false;
    biff8_ = version == kBiff8;
    bool ended = false;
    while (!ended && stream_.next(r)) {
        switch (r.id) {
        case kEof:
            ended = true;
            break;
        case kFilePass:
            return false; // encrypted
        case kCodePage:
            if (r.size >= 2) codePage_.setCodePage(u16(r.data));
            break;
        case kDateMode:
            if (r.size >= 2)
                dateSystem_ = u16(r.data) == 1 ? DateSystem::From1904 : DateSystem::From1900;
            break;
        case kXf:
            xfFormats_.push_back(r.size >= 4 ? u16(r.data + 2) : 0);
            break;
        case kFormat:
            readFormat(r);
            break;
        case kBoundSheet:
            if (!readBoundSheet(r)) return false;
            break;
        case kSst:
            if (!sharedStringsAt_) sharedStringsAt_ = r.at;
            break;
        default:
            break;
        }
    }
    if (!ended || names_.empty()) return false;
    // Every worksheet the directory names must start where it says.
    for (uint64_t at : sheetsAt_) {
        stream_.seek(at);
        if (!stream_.next(r) || r.id != kBof || r.size < 4 || u16(r.data + 2) != kWorksheetBof)
            return false;
    }
    return true;
}

bool BiffWorkbook::readCellText(const Record& r, Utf8Builder& text) {
    if (biff8_) {
        if (r.size < 9) return false;
        const size_t count = u16(r.data + 6);
        const bool wide = r.data[8] & 1;
        if (9 + count * (wide ? 2 : 1) > r.size) return false;
        for (size_t i = 0; i < count && !text.cut(); ++i)
            text.add(wide ? u16(r.data + 9 + 2 * i) : r.data[9 + i]);
        text.finish();
        return true;
    }
    if (r.size < 8) return false;
    const size_t count = u16(r.data + 6);
    if (8 + count > r.size) return false;
    codePage_.decode(r.data + 8, count, text);
    return true;
}

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
                cells_.set(row, column, book_.numberCell(xf, f64(r.data + 6)));
            });
        case kRk:
            return cell(r, 10, [&](int row, int column, uint16_t xf) {
                cells_.set(row, column, book_.numberCell(xf, rkValue(u32(r.data + 6))));
            });
        case kMulRk:
            return cell(r, 6, [&](int row, int column, uint16_t) { multipleRk(r, row, column); });
        case kLabelSst:
            return cell(r, 10, [&](int row, int column, uint16_t) {
                cells_.noteColumn(column);
                if (cells_.keeps(row, column)) shared_.push_back({row, column, u32(r.data + 6)});
            });
        case kLabel:
        case kRichString:
            return cell(r, 6, [&](int row, int column, uint16_t) { return text(r, row, column); });
        case kBlank:
            return cell(r, 6, [&](int, int column, uint16_t) { cells_.noteColumn(column); });
        case kMulBlank:
            return cell(r, 6, [&](int, int column, uint16_t) {
                cells_.noteColumn(std::max<int>(column, u16(r.data + r.size - 2)));
            });
        case kBoolErr:
            return cell(r, 8, [&](int row, int column, uint16_t) {
                const CellKind kind = r.data[7] ? CellKind::Error : CellKind::Boolean;
                cells_.set(row, column, WorksheetCell{kind, false, double(r.data[6]), 0, 0});
            });
        case kFormula:
            return cell(r, 20, [&](int row, int column, uint16_t xf) { formula(r, row, column, xf); });
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
            cells_.set(row, column + static_cast<int>(i),
                       book_.numberCell(u16(entry), rkValue(u32(entry + 2))));
        }
    }

    bool text(const Record& r, int row, int column) {
        cells_.noteColumn(column);
        if (!cells_.keeps(row, column)) return true;
        Utf8Builder text(WorksheetCells::kMaxCellTextBytes);
        if (!book_.readCellText(r, text)) return false;
        cells_.setText(row, column, text.text(), text.cut());
        return true;
    }

    void formula(const Record& r, int row, int column, uint16_t xf) {
        const uint8_t* result = r.data + 6;
        if (u16(result + 6) != 0xFFFF) {
            cells_.set(row, column, book_.numberCell(xf, f64(result)));
            return;
        }
        switch (result[0]) {
        case 0: // the text follows in a STRING record
            cells_.set(row, column, kDamaged);
            if (cells_.keeps(row, column)) {
                pendingRow_ = row;
                pendingColumn_ = column;
            }
            break;
        case 1:
            cells_.set(row, column,
                       WorksheetCell{CellKind::Boolean, false, double(result[2] != 0), 0, 0});
            break;
        case 2:
            cells_.set(row, column, WorksheetCell{CellKind::Error, false, double(result[2]), 0, 0});
            break;
        case 3:
            cells_.setText(row, column, {});
            break;
        default:
            cells_.set(row, column, kDamaged);
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
        if (read) cells_.setText(pendingRow_, pendingColumn_, text.text(), text.cut());
        pendingRow_ = pendingColumn_ = -1;
    }

    BiffWorkbook& book_;
    WorksheetCells cells_;
    std::vector<SharedTextCell> shared_;
    int pendingRow_ = -1, pendingColumn_ = -1; // a formula whose text result comes next
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
void BiffWorkbook::resolveSharedTexts(WorksheetCells& cells, std::vector<SharedTextCell>& shared) {
    if (shared.empty()) return;
    std::vector<uint32_t> wanted;
    wanted.reserve(shared.size());
    for (const SharedTextCell& cell : shared) wanted.push_back(cell.index);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    struct Stored {
        uint32_t at = 0, size = 0;
        bool cut = false, found = false;
    };
    std::vector<Stored> stored(wanted.size());

    Record r;
    if (sharedStringsAt_) {
        stream_.seek(*sharedStringsAt_);
        if (stream_.next(r) && r.id == kSst) {
            ContinuedRecord in(stream_, r);
            size_t next = 0; // the next wanted one
            if (in.skip(8)) {
                for (uint64_t index = 0; next < wanted.size(); ++index) {
                    const bool want = index == wanted[next];
                    Utf8Builder text(WorksheetCells::kMaxCellTextBytes);
                    if (!readUnicodeString(in, true, want ? &text : nullptr)) break;
                    if (!want) continue;
                    stored[next] = {cells.storeText(text.text()),
                                    static_cast<uint32_t>(text.text().size()), text.cut(), true};
                    ++next;
                }
            }
        }
    }
    constexpr WorksheetCell kDamaged{CellKind::Error, false, kDamagedCellCode, 0, 0};
    for (const SharedTextCell& cell : shared) {
        const size_t i = static_cast<size_t>(
            std::lower_bound(wanted.begin(), wanted.end(), cell.index) - wanted.begin());
        if (stored[i].found)
            cells.setStoredText(cell.row, cell.column, stored[i].at, stored[i].size, stored[i].cut);
        else
            cells.set(cell.row, cell.column, kDamaged);
    }
}

} // namespace

std::unique_ptr<WorkbookReader> openBiffWorkbook(std::unique_ptr<StreamSource> stream) {
    auto workbook = std::make_unique<BiffWorkbook>(std::move(stream));
    if (!workbook->readGlobals()) return nullptr;
    return workbook;
}

} // namespace nimbrel
