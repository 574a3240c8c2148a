#include "workbook/WorksheetCells.h"

#include <cstring>

namespace nimbrel {

namespace {

const WorksheetCell kEmptyCell;

// Reads the serialized form; every take fails past the end instead of reading there.
class Bytes {
public:
    explicit Bytes(std::string_view in) : in_(in) {}
    template <typename T> bool take(T& value) {
        if (sizeof value > in_.size()) return false;
        std::memcpy(&value, in_.data(), sizeof value);
        in_.remove_prefix(sizeof value);
        return true;
    }
    bool take(std::string_view& bytes, size_t size) {
        if (size > in_.size()) return false;
        bytes = in_.substr(0, size);
        in_.remove_prefix(size);
        return true;
    }
    bool atEnd() const { return in_.empty(); }

private:
    std::string_view in_;
};

} // namespace

std::string_view utf8Prefix(std::string_view utf8, size_t maxBytes) {
    if (utf8.size() <= maxBytes) return utf8;
    size_t end = maxBytes;
    // Back to the start of the character the limit falls in.
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
    return utf8.substr(0, end);
}

const WorksheetCell& WorksheetCells::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) return kEmptyCell;
    return cells_[static_cast<size_t>(row) * kColumns + static_cast<size_t>(column)];
}

std::string_view WorksheetCells::text(const WorksheetCell& cell) const {
    if (cell.kind != CellKind::Text) return {};
    return std::string_view(texts_).substr(cell.textAt, cell.textSize);
}

void WorksheetCells::noteColumn(int column) {
    if (column >= usedColumns_) usedColumns_ = column + 1;
}

WorksheetCell& WorksheetCells::slot(int row, int column) {
    const size_t needed = (static_cast<size_t>(row) + 1) * kColumns;
    if (cells_.size() < needed) {
        // Room for all the rows kept from the first: rows come one at a time, and growing in
        // steps would copy them again and again. Pages are touched only as rows fill them.
        if (cells_.capacity() == 0) cells_.reserve(static_cast<size_t>(rowsKept_) * kColumns);
        cells_.resize(needed);
    }
    return cells_[static_cast<size_t>(row) * kColumns + static_cast<size_t>(column)];
}

void WorksheetCells::set(int row, int column, const WorksheetCell& cell) {
    noteColumn(column);
    if (!keeps(row, column)) return;
    WorksheetCell& to = slot(row, column);
    to = cell;
    if (to.kind != CellKind::Text) to.textAt = to.textSize = 0;
}

uint32_t WorksheetCells::storeText(std::string_view utf8) {
    const auto at = static_cast<uint32_t>(texts_.size());
    texts_.append(utf8Prefix(utf8, kMaxCellTextBytes));
    return at;
}

void WorksheetCells::setText(int row, int column, std::string_view utf8, bool cut) {
    noteColumn(column);
    if (!keeps(row, column)) return;
    const std::string_view kept = utf8Prefix(utf8, kMaxCellTextBytes);
    setStoredText(row, column, storeText(kept), static_cast<uint32_t>(kept.size()),
                  cut || kept.size() < utf8.size());
}

void WorksheetCells::setStoredText(int row, int column, uint32_t at, uint32_t size, bool cut) {
    noteColumn(column);
    if (!keeps(row, column)) return;
    WorksheetCell& to = slot(row, column);
    to = WorksheetCell{CellKind::Text, cut, 0, at, size};
}

std::string WorksheetCells::serialize() const {
    size_t size = 13 + texts_.size();
    for (const WorksheetCell& cell : cells_)
        size += cell.kind == CellKind::Empty ? 1 : cell.kind == CellKind::Text ? 10 : 9;
    std::string out(size, '\0');
    char* to = out.data();
    auto put = [&to](auto value) {
        std::memcpy(to, &value, sizeof value);
        to += sizeof value;
    };
    put(static_cast<uint8_t>(dateSystem_));
    put(static_cast<uint32_t>(rowCount()));
    put(static_cast<uint32_t>(usedColumns_));
    put(static_cast<uint32_t>(texts_.size()));
    std::memcpy(to, texts_.data(), texts_.size());
    to += texts_.size();
    for (const WorksheetCell& cell : cells_) {
        put(static_cast<uint8_t>(cell.kind));
        if (cell.kind == CellKind::Text) {
            put(static_cast<uint8_t>(cell.cut));
            put(cell.textAt);
            put(cell.textSize);
        } else if (cell.kind != CellKind::Empty) {
            put(cell.number);
        }
    }
    return out;
}

std::optional<WorksheetCells> WorksheetCells::deserialize(std::string_view bytes, int rowsKept) {
    Bytes in(bytes);
    uint8_t dateSystem = 0;
    uint32_t rows = 0, usedColumns = 0, textSize = 0;
    std::string_view texts;
    if (!in.take(dateSystem) || !in.take(rows) || !in.take(usedColumns) || !in.take(textSize) ||
        !in.take(texts, textSize) || dateSystem > uint8_t(DateSystem::From1904) ||
        rows > static_cast<uint32_t>(rowsKept) || usedColumns > (1u << 20))
        return std::nullopt;
    WorksheetCells sheet(rowsKept);
    sheet.dateSystem_ = static_cast<DateSystem>(dateSystem);
    sheet.usedColumns_ = static_cast<int>(usedColumns);
    sheet.texts_ = std::string(texts);
    sheet.cells_.resize(static_cast<size_t>(rows) * kColumns);
    for (WorksheetCell& cell : sheet.cells_) {
        uint8_t kind = 0;
        if (!in.take(kind) || kind > uint8_t(CellKind::Error)) return std::nullopt;
        cell.kind = static_cast<CellKind>(kind);
        if (cell.kind == CellKind::Text) {
            uint8_t cut = 0;
            if (!in.take(cut) || !in.take(cell.textAt) || !in.take(cell.textSize) || cut > 1 ||
                cell.textAt > textSize || cell.textSize > textSize - cell.textAt)
                return std::nullopt;
            cell.cut = cut != 0;
        } else if (cell.kind != CellKind::Empty && !in.take(cell.number)) {
            return std::nullopt;
        }
    }
    if (!in.atEnd()) return std::nullopt;
    return sheet;
}

} // namespace nimbrel
