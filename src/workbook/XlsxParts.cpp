#include "workbook/XlsxParts.h"

#include "workbook/NumberFormats.h"
#include "workbook/XlsxValues.h"
#include "workbook/XmlPart.h"

#include <unordered_map>

namespace nimbrel::xlsx {

namespace {

// Names, ids and targets are short; a longer one is kept cut, and a target cut is no target.
constexpr size_t kMaxNameBytes = 1024;
// More than any workbook has: sheets, and the cell styles a spreadsheet allows (64000).
constexpr size_t kMaxSheets = 10000;
constexpr size_t kMaxStyles = 65536;
constexpr size_t kMaxRelationships = 65536;

// A name, id or target as it is kept: a missing one is empty.
std::string kept(std::optional<std::string_view> text) {
    return std::string(utf8Prefix(text.value_or(""), kMaxNameBytes));
}

// "xl/_rels/workbook.xml.rels" for "xl/workbook.xml"; "_rels/.rels" for the package itself ("").
std::string relationshipsPartOf(std::string_view part) {
    const size_t slash = part.rfind('/');
    const size_t file = slash == std::string_view::npos ? 0 : slash + 1;
    return std::string(part.substr(0, file)) + "_rels/" + std::string(part.substr(file)) + ".rels";
}

} // namespace

std::optional<std::string> resolveTarget(std::string_view fromPart, std::string_view target) {
    std::string path;
    if (!target.empty() && target.front() == '/') {
        target.remove_prefix(1);
    } else {
        const size_t slash = fromPart.rfind('/');
        if (slash != std::string_view::npos) path = fromPart.substr(0, slash + 1);
    }
    path += target;
    std::vector<std::string_view> segments;
    const std::string_view whole = path;
    for (size_t at = 0; at <= whole.size();) {
        const size_t slash = std::min(whole.find('/', at), whole.size());
        const std::string_view segment = whole.substr(at, slash - at);
        if (segment.empty()) return std::nullopt;
        if (segment == "..") {
            if (segments.empty()) return std::nullopt;
            segments.pop_back();
        } else if (segment != ".") {
            segments.push_back(segment);
        }
        at = slash + 1;
    }
    if (segments.empty()) return std::nullopt;
    std::string resolved;
    for (const std::string_view segment : segments) {
        if (!resolved.empty()) resolved += '/';
        resolved += segment;
    }
    return resolved;
}

std::optional<std::vector<Relationship>> readRelationships(const ZipPackage& package,
                                                           std::string_view part,
                                                           const RelationshipFilter& wanted) {
    const std::string relationshipsPart = relationshipsPartOf(part);
    if (!package.has(relationshipsPart)) return std::vector<Relationship>();
    const std::unique_ptr<XmlPart> xml = openXmlPart(package, relationshipsPart, "Relationships");
    if (!xml) return std::nullopt;
    std::vector<Relationship> found;
    const bool read = xml->forEachChild([&] {
        if (xml->name() != "Relationship" || found.size() == kMaxRelationships)
            return xml->skipElement();
        Relationship relationship{kept(xml->attribute("Id")), kept(xml->attribute("Type")), {}};
        relationship.type.erase(0, relationship.type.rfind('/') + 1);
        if (!wanted(relationship.id, relationship.type)) return xml->skipElement();
        const std::string_view target = xml->attribute("Target").value_or("");
        if (xml->attribute("TargetMode") != "External" && target.size() < kMaxNameBytes)
            relationship.target = resolveTarget(part, target).value_or("");
        found.push_back(std::move(relationship));
        return xml->skipElement();
    });
    if (!read) return std::nullopt;
    return found;
}

std::optional<WorkbookEntries> readWorkbookPart(const ZipPackage& package, std::string_view part) {
    const std::unique_ptr<XmlPart> xml = openXmlPart(package, part, "workbook");
    if (!xml) return std::nullopt;
    WorkbookEntries entries;
    auto sheet = [&] {
        if (xml->name() == "sheet") {
            if (entries.sheets.size() == kMaxSheets) return false;
            entries.sheets.push_back(
                {kept(xml->attribute("name")), kept(xml->prefixedAttribute("id"))});
        }
        return xml->skipElement();
    };
    const bool read = xml->forEachChild([&] {
        if (xml->name() == "sheets") return xml->forEachChild(sheet);
        if (xml->name() == "workbookPr") {
            const std::optional<std::string_view> date1904 = xml->attribute("date1904");
            if (date1904 == "1" || date1904 == "true") entries.dateSystem = DateSystem::From1904;
        }
        return xml->skipElement();
    });
    if (!read) return std::nullopt;
    return entries;
}

std::optional<std::vector<bool>> readDateStyles(const ZipPackage& package, std::string_view part) {
    const std::unique_ptr<XmlPart> xml = openXmlPart(package, part, "styleSheet");
    if (!xml) return std::nullopt;
    std::unordered_map<uint32_t, bool> customIsDate; // the workbook's own formats, by id
    std::vector<uint32_t> styleFormats;
    auto format = [&] {
        const std::optional<uint32_t> id = unsignedValue(xml->attribute("numFmtId").value_or(""));
        if (xml->name() == "numFmt" && id && customIsDate.size() < kMaxStyles)
            customIsDate[*id] = isDateFormatText(kept(xml->attribute("formatCode")));
        return xml->skipElement();
    };
    auto style = [&] {
        if (xml->name() == "xf" && styleFormats.size() < kMaxStyles)
            styleFormats.push_back(
                unsignedValue(xml->attribute("numFmtId").value_or("")).value_or(0));
        return xml->skipElement();
    };
    const bool read = xml->forEachChild([&] {
        if (xml->name() == "numFmts") return xml->forEachChild(format);
        if (xml->name() == "cellXfs") return xml->forEachChild(style);
        return xml->skipElement();
    });
    if (!read) return std::nullopt;
    std::vector<bool> isDate;
    isDate.reserve(styleFormats.size());
    for (const uint32_t id : styleFormats) {
        const auto custom = customIsDate.find(id);
        isDate.push_back(custom != customIsDate.end()
                             ? custom->second
                             : id <= 0xFFFF && isBuiltInDateFormat(static_cast<uint16_t>(id)));
    }
    return isDate;
}

} // namespace nimbrel::xlsx
