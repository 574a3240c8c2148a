#pragma once

#include "data/DataFileLoader.h"

namespace nimbrel {

// The loader's messages, worded once for both kinds of file.
LoadFailure cannotOpenFailure(const QString& path);
LoadFailure cannotReadFailure(const QString& path);
LoadFailure sheetNameFailure();
LoadFailure unreadableDayFailure(int64_t line, int daysKept);
LoadFailure tooManyDaysFailure();
// A file read by its header keeps the newest days: the recent past is what a chart is for.
LoadFailure newestDaysKeptFailure();
LoadFailure noDataFailure(const QString& path);

} // namespace nimbrel
