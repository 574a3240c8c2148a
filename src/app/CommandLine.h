#pragma once

#include <QStringList>

#include <cstdio>
#include <string>

namespace nimbrel {

// What a command-line run printed and how it ended: 0 clean, 1 the file had a problem (what
// could be read was still written), 2 the command was wrong.
struct CommandResult {
    int exitCode = 0;
    std::string standardOutput;
    std::string standardError;
};

//   nimbrel --export-csv OUT [--sheet NAME] FILE
//   nimbrel --render OUT.png [--size WxH] [--days N] [--log] [--lagging PLACEMENT] [--sheet NAME]
//   FILE
//   nimbrel --print-pdf OUT.pdf [--paper NAME] [--landscape] [--days N] [--log]
//   [--lagging PLACEMENT] [--sheet NAME] FILE [--lower FILE2]
// Arguments without the program name. Rendering and printing need a QGuiApplication.
[[nodiscard]] CommandResult runCommandLine(const QStringList& arguments);

// True when the arguments ask for a render or a print, which need fonts and so a GUI application
// object.
bool isRenderCommand(const QStringList& arguments);

// Prints what a run wrote to `out` and `err` and gives its exit status: a table that cannot be
// written to `out` (standard output) is "ファイルに書き込めません" and status 1.
int writeCommandOutput(const CommandResult& result, std::FILE* out, std::FILE* err);

} // namespace nimbrel
