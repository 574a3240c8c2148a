// nimbrel-command: the command line's program for --export-csv, --help, --version and wrong
// commands. It links Qt's core alone: an export starts without loading and relocating
// libraries it would never use.
#include "command/ExportCommand.h"

int main(int argc, char* argv[]) {
    return nimbrel::commandMain(argc, argv, nimbrel::kExportJob);
}
