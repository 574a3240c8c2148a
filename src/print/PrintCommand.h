#pragma once

#include "command/CommandLine.h"

namespace nimbrel {

// --print-pdf: the chart printed as the window's print commands print it, on a whole sheet of
// the paper, or FILE on its upper half and FILE2 on its lower half, to a PDF file.
void printPdf(const Request& request, CommandResult& result);

inline constexpr CommandJob kPrintJob{Job::PrintPdf, printPdf};

} // namespace nimbrel
