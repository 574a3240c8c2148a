#include "workbook/XlsxWorkbook.h"

#include "workbook/XlsxParts.h"
#include "workbook/XlsxSheet.h"

#include <unordered_map>

namespace nimbrel {

using namespace xlsx;

namespace {

class XlsxWorkbook final : public WorkbookReader {
public:
    const std::vector<std::string>& sheetNames() const override { return names_; }
    DateSystem dateSystem() const override { return dateSystem_; }
    std::optional<WorksheetCells> readSheet(size_t sheet, int rowsKept) override {
        if (sheet >= sheetParts_.size()) return std::nullopt;
        return readSheetCells(*package_, sheetParts_[sheet],
                              SheetContext{sharedStringsPart_, dateStyles_, dateSystem_}, rowsKept);
    }

    bool read(std::unique_ptr<ZipPackage> package);

private:
    bool readSheetEntries(const std::string& workbookPart, const WorkbookEntries& entries);

    std::unique_ptr<ZipPackage> package_;
    std::vector<std::string> names_, sheetParts_;
    DateSystem dateSystem_ = DateSystem::From1900;
    std::vector<bool> dateStyles_;
    std::string sharedStringsPart_;
};

bool XlsxWorkbook::read(std::unique_ptr<ZipPackage> package) {
    package_ = std::move(package);
    // The workbook part is where the package's main relationship leads; a package without
    // relationships has it where spreadsheets put it.
    const auto main = readRelationships(*package_, "", [](std::string_view, std::string_view type) {
        return type == "officeDocument";
    });
    if (!main) return false;
    const std::string workbookPart = main->empty() ? "xl/workbook.xml" : main->front().target;
    if (workbookPart.empty() || !package_->has(workbookPart)) return false;
    const std::optional<WorkbookEntries> entries = readWorkbookPart(*package_, workbookPart);
    if (!entries) return false;
    dateSystem_ = entries->dateSystem;
    return readSheetEntries(workbookPart, *entries);
}

// Every sheet must lead to a part of the package other than the workbook itself; chart and
// dialog sheets hold no cells and are left out, as the .xls reader leaves them out.
bool XlsxWorkbook::readSheetEntries(const std::string& workbookPart,
                                    const WorkbookEntries& entries) {
    std::unordered_map<std::string_view, const Relationship*> byId;
    for (const SheetEntry& sheet : entries.sheets) byId.emplace(sheet.relationshipId, nullptr);
    const auto relationships =
        readRelationships(*package_, workbookPart, [&](std::string_view id, std::string_view type) {
            return byId.count(id) != 0 || type == "styles" || type == "sharedStrings";
        });
    if (!relationships) return false;
    const Relationship *styles = nullptr, *sharedStrings = nullptr;
    for (const Relationship& relationship : *relationships) {
        const auto sheet = byId.find(relationship.id);
        if (sheet != byId.end() && !sheet->second) sheet->second = &relationship;
        if (relationship.type == "styles" && !styles) styles = &relationship;
        if (relationship.type == "sharedStrings" && !sharedStrings) sharedStrings = &relationship;
    }
    for (const SheetEntry& sheet : entries.sheets) {
        const Relationship* relationship = byId[sheet.relationshipId];
        if (!relationship) return false;
        const std::string& type = relationship->type;
        if (type == "chartsheet" || type == "dialogsheet" || type == "macrosheet" ||
            type == "xlIntlMacrosheet")
            continue;
        if (type != "worksheet" || relationship->target.empty() ||
            relationship->target == workbookPart || !package_->has(relationship->target))
            return false;
        names_.push_back(sheet.name);
        sheetParts_.push_back(relationship->target);
    }
    for (const Relationship* part : {styles, sharedStrings})
        if (part && (part->target.empty() || !package_->has(part->target))) return false;
    if (styles) {
        std::optional<std::vector<bool>> dateStyles = readDateStyles(*package_, styles->target);
        if (!dateStyles) return false;
        dateStyles_ = std::move(*dateStyles);
    }
    if (sharedStrings) sharedStringsPart_ = sharedStrings->target;
    return !names_.empty();
}

} // namespace

std::unique_ptr<WorkbookReader> openXlsxWorkbook(GsfInput* input) {
    std::unique_ptr<ZipPackage> package = ZipPackage::open(input);
    if (!package) return nullptr;
    auto workbook = std::make_unique<XlsxWorkbook>();
    if (!workbook->read(std::move(package))) return nullptr;
    return workbook;
}

} // namespace nimbrel
