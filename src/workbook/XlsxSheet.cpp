#include "workbook/XlsxSheet.h"

#include "workbook/Utf8Text.h"
#include "workbook/XlsxValues.h"
#include "workbook/XmlPart.h"

#include <algorithm>
#include <unordered_map>

namespace nimbrel::xlsx {

namespace {

using Token = XmlPart::Token;

constexpr WorksheetCell kDamaged{CellKind::Error, false, kDamagedCellCode, 0, 0};

// The t of a cell: what its value (<v>) or inline text (<is>) holds.
enum class CellType {
    Number,
    SharedText,
    FormulaText,
    InlineText,
    Boolean,
    Error,
    IsoDate,
    Unknown
};

CellType cellType(std::optional<std::string_view> type) {
    if (!type || *type == "n") return CellType::Number;
    if (*type == "s") return CellType::SharedText;
    if (*type == "str") return CellType::FormulaText;
    if (*type == "inlineStr") return CellType::InlineText;
    if (*type == "b") return CellType::Boolean;
    if (*type == "e") return CellType::Error;
    if (*type == "d") return CellType::IsoDate;
    return CellType::Unknown;
}

// The texts inside the element just started, to its end; `to` null: passed over.
bool readText(XmlPart& xml, Utf8Builder* to) {
    for (;;) {
        switch (xml.next()) {
        case Token::Text:
            if (to) to->addUtf8(xml.text());
            break;
        case Token::Start:
            if (!xml.skipElement()) return false;
            break;
        case Token::End:
            return true;
        case Token::Done:
        case Token::Refused:
            return false;
        }
    }
}

// An inline or shared string (<is>, <si>): its <t>, or the <t> of each of its runs (<r>).
// The reading aid above Japanese text (<rPh>) is not part of it.
bool readRichText(XmlPart& xml, Utf8Builder* to) {
    return xml.forEachChild([&] {
        if (xml.name() == "t") return readText(xml, to);
        if (xml.name() != "r") return xml.skipElement();
        return xml.forEachChild(
            [&] { return xml.name() == "t" ? readText(xml, to) : xml.skipElement(); });
    });
}

// A kept cell that holds a shared string, looked up once the whole sheet is read.
struct SharedTextCell {
    int row, column;
    uint32_t index;
    bool replaced = false; // a later cell of the same place holds its value
};

class SheetReader {
public:
    SheetReader(XmlPart& xml, const SheetContext& context, int rowsKept)
        : xml_(xml), context_(context), cells_(rowsKept) {
        cells_.setDateSystem(context.dateSystem);
    }

    bool read() {
        for (;;) {
            switch (xml_.next()) {
            case Token::Start:
                if (xml_.name() == "sheetData") return readSheetData();
                if (!xml_.skipElement()) return false;
                break;
            case Token::Text:
                break;
            case Token::End: // a sheet without cells
                return true;
            case Token::Done:
            case Token::Refused:
                return false;
            }
        }
    }

    WorksheetCells& cells() { return cells_; }
    const std::vector<SharedTextCell>& sharedTexts() const { return shared_; }

private:
    bool readSheetData() {
        for (;;) {
            switch (xml_.next()) {
            case Token::Start:
                if (!(xml_.name() == "row" ? readRow() : xml_.skipElement())) return false;
                if (stopped_) return true;
                break;
            case Token::Text:
                break;
            case Token::End:
                return true;
            case Token::Done:
            case Token::Refused:
                return false;
            }
        }
    }

    // A row without its number follows the one before.
    bool readRow() {
        const std::optional<std::string_view> number = xml_.attribute("r");
        if (!number) {
            ++row_;
        } else {
            const std::optional<uint32_t> value = unsignedValue(*number);
            if (!value || *value < 1 || *value > uint32_t(kMaxRows)) return false;
            row_ = static_cast<int>(*value) - 1;
        }
        if (row_ >= kMaxRows) return false;
        column_ = -1;
        if (!cells_.keeps(row_, 0)) {
            stopped_ = true; // past the rows asked for: the rest of the sheet is not needed
            return true;
        }
        return xml_.forEachChild(
            [&] { return xml_.name() == "c" ? readCell() : xml_.skipElement(); });
    }

    // A cell without its reference follows the one before in its row.
    bool readCell() {
        CellPosition at{row_, column_ + 1};
        if (const std::optional<std::string_view> reference = xml_.attribute("r")) {
            const std::optional<CellPosition> position = cellPosition(*reference);
            if (!position) return false;
            at = *position;
        }
        if (at.column >= kMaxColumns) return false;
        column_ = at.column;
        const CellType type = cellType(xml_.attribute("t"));
        const uint32_t style = unsignedValue(xml_.attribute("s").value_or("")).value_or(0);
        cells_.noteColumn(at.column);
        const bool kept = cells_.keeps(at.row, at.column);
        Utf8Builder value(WorksheetCells::kMaxCellTextBytes),
            inlineText(WorksheetCells::kMaxCellTextBytes);
        bool hasValue = false, hasInlineText = false;
        const bool read = xml_.forEachChild([&] {
            // A formula (<f>) is passed over: the cell holds the result it last computed.
            if (xml_.name() == "v") {
                hasValue = true;
                return readText(xml_, kept ? &value : nullptr);
            }
            if (xml_.name() == "is") {
                hasInlineText = true;
                return readRichText(xml_, kept ? &inlineText : nullptr);
            }
            return xml_.skipElement();
        });
        if (!read) return false;
        if (!kept) return true;
        value.finish();
        inlineText.finish();
        replaced(at);
        if (type == CellType::InlineText && hasInlineText)
            cells_.setText(at.row, at.column, inlineText.text(), inlineText.cut());
        else if (hasValue)
            store(at, type, style, value);
        else
            cells_.set(at.row, at.column, {});
        return true;
    }

    // A cell replaces what an earlier cell of the same place put there, as in a spreadsheet:
    // a shared string waiting to be looked up included.
    void replaced(CellPosition at) {
        if (sharedAt_.empty()) return;
        const auto shared = sharedAt_.find(key(at));
        if (shared == sharedAt_.end()) return;
        shared_[shared->second].replaced = true;
        sharedAt_.erase(shared);
    }
    static uint64_t key(CellPosition at) { return uint64_t(at.row) << 16 | uint32_t(at.column); }

    void store(CellPosition at, CellType type, uint32_t style, const Utf8Builder& value) {
        const std::string& text = value.text();
        std::optional<double> number;
        CellKind kind = CellKind::Number;
        switch (type) {
        case CellType::Number:
            number = numberValue(text);
            if (style < context_.dateStyles.size() && context_.dateStyles[style])
                kind = CellKind::Date;
            break;
        case CellType::SharedText:
            if (const std::optional<uint32_t> index = unsignedValue(text)) {
                sharedAt_[key(at)] = shared_.size();
                shared_.push_back({at.row, at.column, *index});
                return;
            }
            break;
        case CellType::FormulaText:
        case CellType::InlineText:
            cells_.setText(at.row, at.column, text, value.cut());
            return;
        case CellType::Boolean:
            if (const std::optional<bool> truth = booleanValue(text)) number = *truth ? 1 : 0;
            kind = CellKind::Boolean;
            break;
        case CellType::Error:
            number = errorCode(text);
            kind = CellKind::Error;
            break;
        case CellType::IsoDate:
            number = isoDateSerial(text, context_.dateSystem);
            kind = CellKind::Date;
            break;
        case CellType::Unknown:
            break;
        }
        cells_.set(at.row, at.column,
                   number && !value.cut() ? WorksheetCell{kind, false, *number, 0, 0} : kDamaged);
    }

    XmlPart& xml_;
    const SheetContext& context_;
    WorksheetCells cells_;
    std::vector<SharedTextCell> shared_;
    std::unordered_map<uint64_t, size_t> sharedAt_; // where each place's shared string waits
    int row_ = -1, column_ = -1;                    // the row and the cell read last
    bool stopped_ = false;
};

// Shared strings are looked up once the sheet is read, so that only those its kept cells use
// are decoded, in one pass over the table that ends at the last of them. A cell whose string
// the table does not hold is damaged.
bool resolveSharedTexts(const ZipPackage& package, std::string_view part, WorksheetCells& cells,
                        const std::vector<SharedTextCell>& shared) {
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

    if (!wanted.empty() && !part.empty()) {
        const std::unique_ptr<XmlPart> xml = openXmlPart(package, part, "sst");
        if (!xml) return false;
        size_t next = 0; // the next wanted one
        for (uint64_t index = 0; next < wanted.size();) {
            const Token token = xml->next();
            if (token == Token::End) break; // the end of the table
            if (token == Token::Text) continue;
            if (token != Token::Start) return false;
            if (xml->name() != "si") {
                if (!xml->skipElement()) return false;
                continue;
            }
            const bool want = index++ == wanted[next];
            Utf8Builder text(WorksheetCells::kMaxCellTextBytes);
            if (!readRichText(*xml, want ? &text : nullptr)) return false;
            if (!want) continue;
            text.finish();
            stored[next++] = {cells.storeText(text.text()),
                              static_cast<uint32_t>(text.text().size()), text.cut(), true};
        }
    }
    for (const SharedTextCell& cell : shared) {
        if (cell.replaced) continue;
        const auto i = static_cast<size_t>(
            std::lower_bound(wanted.begin(), wanted.end(), cell.index) - wanted.begin());
        if (stored[i].found)
            cells.setStoredText(cell.row, cell.column, stored[i].at, stored[i].size, stored[i].cut);
        else
            cells.set(cell.row, cell.column, kDamaged);
    }
    return true;
}

} // namespace

std::optional<WorksheetCells> readSheetCells(const ZipPackage& package, std::string_view sheetPart,
                                             const SheetContext& context, int rowsKept) {
    const std::unique_ptr<XmlPart> xml = openXmlPart(package, sheetPart, "worksheet");
    if (!xml) return std::nullopt;
    SheetReader sheet(*xml, context, rowsKept);
    if (!sheet.read() ||
        !resolveSharedTexts(package, context.sharedStringsPart, sheet.cells(), sheet.sharedTexts()))
        return std::nullopt;
    return std::move(sheet.cells());
}

} // namespace nimbrel::xlsx
