#include "workbook/BiffWorkbook.h"

#include "workbook/NumberFormats.h"

#include <algorithm>

namespace nimbrel {

namespace biff {

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

void BiffWorkbook::resolveSharedTexts(WorksheetCells& cells, std::vector<SharedTextCell>& shared) {
    if (shared.empty()) return;
    std::vector<uint32_t> wanted;
    wanted.reserve(shared.size());
    for (const SharedTextCell& cell : shared)
        if (!cell.replaced) wanted.push_back(cell.index);
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
        if (cell.replaced) continue;
        const size_t i = static_cast<size_t>(
            std::lower_bound(wanted.begin(), wanted.end(), cell.index) - wanted.begin());
        if (stored[i].found)
            cells.setStoredText(cell.row, cell.column, stored[i].at, stored[i].size, stored[i].cut);
        else
            cells.set(cell.row, cell.column, kDamaged);
    }
}

} // namespace biff

std::unique_ptr<WorkbookReader> openBiffWorkbook(std::unique_ptr<biff::StreamSource> stream) {
    auto workbook = std::make_unique<biff::BiffWorkbook>(std::move(stream));
    if (!workbook->readGlobals()) return nullptr;
    return workbook;
}

} // namespace nimbrel
