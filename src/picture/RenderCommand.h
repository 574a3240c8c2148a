#pragma once

#include "command/CommandLine.h"

namespace nimbrel {

// --render: the chart a window of the size would show, as a PNG picture.
void renderChart(const Request& request, CommandResult& result);

inline constexpr CommandJob kRenderJob{Job::Render, renderChart};

} // namespace nimbrel
