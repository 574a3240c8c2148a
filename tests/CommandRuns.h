#pragma once

#include "command/CommandLine.h"

namespace nimbrel {

// The command line run in this process by the job of the program the launcher starts for it
// (the command line's own for a wrong command, or for what would start the window).
[[nodiscard]] CommandResult runCommandLine(const QStringList& arguments);

} // namespace nimbrel
