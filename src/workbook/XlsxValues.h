#pragma once

#include "workbook/WorksheetCells.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace nimbrel::xlsx {

// The values of a sheet's cells as the XML writes them, each read whole or not at all.

// The largest sheet a spreadsheet makes: 1048576 rows of 16384 columns (A .. XFD).
inline constexpr int kMaxRows = 1 << 20;
inline constexpr int kMaxColumns = 1 << 14;

struct CellPosition {
    int row = 0, column = 0; // from 0
};

// "B2", "XFD1048576": letters then digits, within the largest sheet.
std::optional<CellPosition> cellPosition(std::string_view reference);

// A number of decimal digits and nothing else, as indexes and counts are written.
std::optional<uint32_t> unsignedValue(std::string_view digits);

// A number as XML writes doubles: "1015", "-0.5", "9.8E-3"; blanks around it allowed.
std::optional<double> numberValue(std::string_view text);

// "1" / "0" (or "true" / "false").
std::optional<bool> booleanValue(std::string_view text);

// The code an error cell holds: "#DIV/0!" is 0x07 as the .xls format numbers them;
// kDamagedCellCode for an error text there is no code for.
double errorCode(std::string_view text);

// An ISO 8601 date and time of day ("2023-01-04", "2023-01-04T09:30:00", a time alone) as a
// serial day of the date system.
std::optional<double> isoDateSerial(std::string_view text, DateSystem system);

} // namespace nimbrel::xlsx
