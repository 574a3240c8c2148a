#pragma once

#include "workbook/WorksheetCells.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>
#include <string>

namespace nimbrel {

enum class SheetOpenStatus { Opened, CannotOpen, CannotRead, NoSuchSheet };

struct SheetOpenResult {
    SheetOpenStatus status = SheetOpenStatus::CannotOpen;
    std::optional<WorksheetCells> cells; // set when opened
};

// Columns A to F of the first rowsKept rows of the worksheet named sheetName (matched without
// regard to case) of an Excel 97 or Excel 95 workbook. The workbook is read by the reader
// process (nimbrel-workbook-reader) within limits of memory and time: a file that crashes it,
// or takes too long, is one it cannot read. `path` is the file name's bytes.
[[nodiscard]] SheetOpenResult openWorksheet(const QByteArray& path, const QString& sheetName,
                                            int rowsKept);

// The same with another reader program and time limit: how the program meets a reader that
// crashes, hangs or answers nonsense.
[[nodiscard]] SheetOpenResult openWorksheetWith(const std::string& readerProgram,
                                                std::chrono::milliseconds timeLimit,
                                                const QByteArray& path, const QString& sheetName,
                                                int rowsKept);

} // namespace nimbrel
