#pragma once

#include "command/CommandLine.h"

namespace nimbrel {

// --export-csv: the file's bars with their lines as a table, to OUT or standard output.
void exportCsv(const Request& request, CommandResult& result);

inline constexpr CommandJob kExportJob{Job::ExportCsv, exportCsv};

} // namespace nimbrel
