#include "command/ExportCommand.h"

#include "command/CommandSteps.h"
#include "data/CsvExport.h"

namespace nimbrel {

// OUT is written only from a load that gave days: otherwise it keeps what it held.
void exportCsv(const Request& request, CommandResult& result) {
    LoadedFile file = loadFile(request.file, request, result);
    if (file.days->dataCount == 0) return;
    ViewState view = requestedView(request, file.bars());
    if (!analyseInto(request, file, view, result)) return;
    std::string table = csvTable(file.bars());
    if (request.output == QLatin1String("-"))
        result.standardOutput = std::move(table);
    else
        writeOutput(request, table, result);
}

} // namespace nimbrel
