#pragma once

#include "workbook/WorksheetCells.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>
#include <string>

namespace nimbrel {

enum class SheetOpenStatus { Opened, CannotRead, NoSuchSheet };

struct SheetOpenResult {
    SheetOpenStatus status = SheetOpenStatus::CannotRead;
    std::optional<WorksheetCells> cells; // set when opened
};

// The kept columns of the first rowsKept rows of the worksheet named sheetName of the workbook
// open at `file`. The workbook is read by the reader process (nimbrel-workbook-reader) within
// limits of memory and time: a file that crashes it, or takes too long, is one it cannot read.
[[nodiscard]] SheetOpenResult openWorksheet(int file, const QString& sheetName, int rowsKept);

// The same with another reader program and time limit: how the program meets a reader that
// crashes, hangs or answers nonsense.
[[nodiscard]] SheetOpenResult openWorksheetWith(const std::string& readerProgram,
                                                std::chrono::milliseconds timeLimit, int file,
                                                const QString& sheetName, int rowsKept);

// The names of the worksheets of the workbook open at `file`, in the workbook's order; none
// when the reader cannot read it.
[[nodiscard]] QStringList worksheetNames(int file);

} // namespace nimbrel
