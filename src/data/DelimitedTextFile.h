#pragma once

#include "data/DataFileLoader.h"
#include "data/HeaderLayout.h"
#include "data/TextDataFile.h"

#include <optional>
#include <string_view>

namespace nimbrel {

// A text file whose first line is a header naming its columns: a CSV as data sites write them.
struct DelimitedHeader {
    char separator = ','; // a comma, a TAB or a semicolon: the one with which the header names a
                          // date and a close
    HeaderColumns columns;
};

// The header of a text whose first line (the text's bytes from its start, a byte-order mark
// included) names a date and a close column; nullopt for a text in the classic layout.
[[nodiscard]] std::optional<DelimitedHeader> delimitedHeader(std::string_view text);

// Reads a text read by its header into a cleared series: titleLine1 is `title` (the file's
// name), the days are the rows oldest first (see storeHeaderRows).
[[nodiscard]] std::optional<LoadFailure> loadDelimitedText(PriceSeries& series,
                                                           std::string_view bytes, TextEnd end,
                                                           const DelimitedHeader& header,
                                                           const QString& title);

} // namespace nimbrel
