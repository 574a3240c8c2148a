#pragma once

#include "command/CommandArguments.h"
#include "system/Message.h"

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

// A program of the command line: the job it does, and how. The launcher starts it for that
// job's commands alone; any other is a wrong command to it.
struct CommandJob {
    Job job;
    void (*run)(const Request& request, CommandResult& result);
};

//   nimbrel --export-csv OUT [--sheet NAME] FILE
//   nimbrel --render OUT.png [--size WxH] [--days N] [--log] [--lagging PLACEMENT] [--sheet NAME]
//   FILE
//   nimbrel --print-pdf OUT.pdf [--paper NAME] [--landscape] [--days N] [--log]
//   [--lagging PLACEMENT] [--sheet NAME] FILE [--lower FILE2]
// Arguments without the program name, run as the job's program runs them.
[[nodiscard]] CommandResult runCommandLine(const QStringList& arguments, const CommandJob& job);

// A wrong command: the usage, and status 2.
void reportWrongCommand(CommandResult& result);
// A problem on standard error; the status is 1 at least.
void reportProblem(const Message& message, CommandResult& result);
// "ファイルに書き込めません" and the file's name.
Message cannotWrite(const QString& path);

// Prints what a run wrote to `out` and `err` and gives its exit status: a table that cannot be
// written to `out` (standard output) is "ファイルに書き込めません" and status 1.
int writeCommandOutput(const CommandResult& result, std::FILE* out, std::FILE* err);

// The main of a program of the command line, from the arguments as the system gives them:
// answers --help and --version, runs the job and prints what it printed.
int commandMain(int argc, char* argv[], const CommandJob& job);

} // namespace nimbrel
