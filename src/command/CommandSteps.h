#pragma once

#include "chart/ViewState.h"
#include "command/CommandLine.h"
#include "data/PriceSeries.h"

#include <QString>

#include <memory>
#include <string_view>

namespace nimbrel {

// The steps every job of the command line takes: load its files, choose the view, run the
// analysis asked for and write OUT.

// A series in huge pages where the system has them: its 1.2 MB fault in at once, not in 300
// faults of small pages.
struct SeriesInHugePages {
    void operator()(PriceSeries* series) const;
};
using SeriesPointer = std::unique_ptr<PriceSeries, SeriesInHugePages>;

// A file loaded as the window's open sequence does: its days, and the bars the chart shows
// (the days themselves, for daily bars), their lines computed.
struct LoadedFile {
    SeriesPointer days;
    SeriesPointer weeksOrMonths;
    PriceSeries& bars() { return weeksOrMonths ? *weeksOrMonths : *days; }
};

// A problem with the file is reported and makes the exit status 1.
LoadedFile loadFile(const QString& path, const Request& request, CommandResult& result);

// The newest days of the series, drawn as the options say.
ViewState requestedView(const Request& request, const PriceSeries& series);

// The analysis the request asks for on the file's bars: its marks go on the chart, its lines
// to standard output. False for a date the file has no day of: the command is wrong.
bool analyseInto(const Request& request, LoadedFile& file, ViewState& view, CommandResult& result);

// Writes OUT whole; a failure is reported.
void writeOutput(const Request& request, std::string_view bytes, CommandResult& result);

} // namespace nimbrel
