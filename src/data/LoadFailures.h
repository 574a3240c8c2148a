#pragma once

#include "data/DataFileLoader.h"

namespace nimbrel {

// The loader's messages, worded once for both kinds of file.
LoadFailure cannotOpenFailure(const QString& path);
LoadFailure cannotReadFailure(const QString& path);
LoadFailure sheetNameFailure();
LoadFailure unreadableDayFailure(int64_t line, int daysKept);
LoadFailure tooManyDaysFailure();
LoadFailure noDataFailure(const QString& path);

} // namespace nimbrel
