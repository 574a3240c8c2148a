#pragma once

#include "data/PriceSeries.h"
#include "system/Message.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nimbrel {

enum class LoadProblem {
    CannotOpen,    // the file is missing or unreadable: nothing loaded
    CannotRead,    // not a workbook the reader understands: nothing loaded
    SheetName,     // no worksheet of that name: nothing loaded, the window title is reset
    UnreadableDay, // the days before the unreadable one are kept
    TooManyDays,   // the first kMaxDays days are kept
    NoData,        // the file was read, and holds no day
};

struct LoadFailure {
    LoadProblem problem;
    Message message;
};

// Reads a data file into the series, replacing whatever it held. The file is known by what it
// holds, whatever its name: a workbook (a compound file or a zip) is read on the worksheet
// sheetName names, text as text, and anything else cannot be read. A load that gives no day is
// a failure too. The series is consistent afterwards whatever happened: dataCount matches the
// rows stored and every other cell is zero.
[[nodiscard]] std::optional<LoadFailure> loadDataFile(PriceSeries& series, const QString& directory,
                                                      const QString& fileName,
                                                      const QString& sheetName);

// The names of the worksheets of the workbook at `path`, in its order: none when it is missing
// or no workbook that can be read.
[[nodiscard]] QStringList workbookSheetNames(const QString& path);

// Sets both tables and the load facts to their empty state.
void clearSeries(PriceSeries& series);

// Stores one day at row `day` (1..kMaxDays) of the series.
void storeDay(PriceSeries& series, int day, const PriceRow& row);

} // namespace nimbrel
