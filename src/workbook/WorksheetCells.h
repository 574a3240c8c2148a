#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbrel {

// What a worksheet cell holds. A formula cell holds the result it last computed, so it is one
// of these too.
enum class CellKind : uint8_t { Empty, Number, Date, Text, Boolean, Error };

// The code of an error cell that stands for a cell the file damaged (a shared string it does
// not hold, a formula text result without its text); the workbook's own codes are 0..42.
inline constexpr double kDamagedCellCode = -1;

struct WorksheetCell {
    CellKind kind = CellKind::Empty;
    bool cut = false; // Text: longer than kMaxCellTextBytes; only its start is kept
    // Number; Date: the serial day in the workbook's date system; Boolean: 0 or 1; Error: code.
    double number = 0;
    uint32_t textAt = 0, textSize = 0; // Text: UTF-8 bytes in the sheet's text store
};

enum class DateSystem : uint8_t { From1900, From1904 };

// Columns A to H of the first rows of one worksheet, the part of it a load can use (a classic
// sheet's A to F, and the columns a downloaded file's header names). Rows and
// columns count from 0; row 0 is the heading row.
class WorksheetCells {
public:
    static constexpr int kColumns = 8;
    // Prices, dates and names are short: a longer text keeps this many bytes and says so.
    static constexpr size_t kMaxCellTextBytes = 256;

    explicit WorksheetCells(int rowsKept = 0) : rowsKept_(rowsKept) {}

    // One past the last row holding a kept cell.
    int rowCount() const { return static_cast<int>(cells_.size() / kColumns); }
    // One past the last column holding any cell of the sheet, blank ones and those beyond F
    // included: tells whether the sheet has columns E and F at all.
    int usedColumns() const { return usedColumns_; }
    DateSystem dateSystem() const { return dateSystem_; }
    void setDateSystem(DateSystem system) { dateSystem_ = system; }

    // An empty cell outside the rows and columns kept.
    const WorksheetCell& cell(int row, int column) const;
    std::string_view text(const WorksheetCell& cell) const;

    // Cells outside the rows and columns kept are left out; every cell counts for usedColumns.
    void noteColumn(int column);
    void set(int row, int column, const WorksheetCell& cell);
    // A text cell: the text goes to the store; at most kMaxCellTextBytes of it (cut at a
    // character) are kept.
    void setText(int row, int column, std::string_view utf8, bool cut = false);
    // A text cell whose text is already in the store (a shared string used again).
    void setStoredText(int row, int column, uint32_t at, uint32_t size, bool cut);
    // Stores text for later setStoredText calls; returns where it went.
    uint32_t storeText(std::string_view utf8);

    bool keeps(int row, int column) const {
        return row >= 0 && row < rowsKept_ && column >= 0 && column < kColumns;
    }

    // The form in which the reader process hands the cells to the program.
    std::string serialize() const;
    // Nullopt when the bytes are not a whole, consistent sheet of at most rowsKept rows.
    [[nodiscard]] static std::optional<WorksheetCells> deserialize(std::string_view bytes,
                                                                   int rowsKept);

private:
    WorksheetCell& slot(int row, int column);

    int rowsKept_ = 0;
    int usedColumns_ = 0;
    DateSystem dateSystem_ = DateSystem::From1900;
    std::vector<WorksheetCell> cells_; // row after row, kColumns a row
    std::string texts_;
};

// The UTF-8 text cut to at most maxBytes bytes, at a character boundary.
std::string_view utf8Prefix(std::string_view utf8, size_t maxBytes);

} // namespace nimbrel
