#pragma once

#include "data/PriceSeries.h"
#include "system/Message.h"

#include <QString>

#include <optional>

namespace nimbrel {

enum class LoadProblem {
    CannotOpen,    // the file is missing or unreadable: nothing loaded
    CannotRead,    // not a workbook the reader understands: nothing loaded
    SheetName,     // no worksheet of that name: nothing loaded, the window title is reset
    UnreadableDay, // the days before the unreadable one are kept
    TooManyDays,   // the first kMaxDays days are kept
};

struct LoadFailure {
    LoadProblem problem;
    Message message;
};

// Reads a data file into the series, replacing whatever it held. A name ending in ".xls",
// ".xlsx" or ".xlsm" (any case) is a workbook read on the worksheet sheetName names (matched
// without regard to case); anything else is a text file. The series is consistent afterwards whatever
// happened: dataCount matches the rows stored and every other cell is zero.
[[nodiscard]] std::optional<LoadFailure> loadDataFile(PriceSeries& series, const QString& directory,
                                                      const QString& fileName,
                                                      const QString& sheetName);

// Sets both tables and the load facts to their empty state.
void clearSeries(PriceSeries& series);

// Stores one day at row `day` (1..kMaxDays) of the series.
void storeDay(PriceSeries& series, int day, const PriceRow& row);

} // namespace nimbrel
