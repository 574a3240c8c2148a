#pragma once

#include <QStringList>

#include <string>

// What a command-line run printed and how it ended: 0 clean, 1 the file had a problem (what
// could be read was still written), 2 the command was wrong.
struct CommandResult {
    int exitCode = 0;
    std::string standardOutput;
    std::string standardError;
};

// nimbrel --export-csv OUT [--sheet NAME] FILE; arguments without the program name.
[[nodiscard]] CommandResult runCommandLine(const QStringList& arguments);
