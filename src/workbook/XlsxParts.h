#pragma once

#include "workbook/WorksheetCells.h"
#include "workbook/ZipPackage.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbrel::xlsx {

// The parts of a workbook package that lead to its sheets: relationships, the workbook part
// and the styles. Each reader gives nullopt when its part is damaged or refused.

// The part a relationship of `fromPart` leads to: `target` relative to its folder, or from the
// package's root when it starts with "/". Nullopt when it leads out of the package.
std::optional<std::string> resolveTarget(std::string_view fromPart, std::string_view target);

struct Relationship {
    std::string id;
    std::string type;   // the last word of its type: "worksheet", "styles", "officeDocument"
    std::string target; // the part it leads to; empty when outside the package
};

// The relationships of `part` (from its _rels part; none when there is none) that `wanted`
// keeps, by id and type word, in their order.
using RelationshipFilter = std::function<bool(std::string_view id, std::string_view type)>;
std::optional<std::vector<Relationship>> readRelationships(const ZipPackage& package,
                                                           std::string_view part,
                                                           const RelationshipFilter& wanted);

struct SheetEntry {
    std::string name; // UTF-8
    std::string relationshipId;
};

struct WorkbookEntries {
    std::vector<SheetEntry> sheets; // in the order of the tabs
    DateSystem dateSystem = DateSystem::From1900;
};

std::optional<WorkbookEntries> readWorkbookPart(const ZipPackage& package, std::string_view part);

// For each cell style (the s of a cell), whether its number format shows dates.
std::optional<std::vector<bool>> readDateStyles(const ZipPackage& package, std::string_view part);

} // namespace nimbrel::xlsx
