#include "picture/RenderCommand.h"

#include "chart/ChartPainter.h"
#include "command/CommandSteps.h"
#include "picture/ChartFace.h"
#include "picture/PictureSurface.h"

namespace nimbrel {

void renderChart(const Request& request, CommandResult& result) {
    Message problem;
    GlyphFace* face = chartFace(problem);
    if (!face) {
        reportProblem(problem, result);
        return;
    }
    LoadedFile file = loadFile(request.file, request, result);
    if (file.days->dataCount == 0) return;
    ViewState view = requestedView(request, file.bars());
    if (!analyseInto(request, file, view, result)) return;
    PalettePicture picture(request.size.width(), request.size.height(), Rgb{255, 255, 255});
    {
        PictureSurface surface(picture, *face);
        drawChart(surface, file.bars(), view, kScreenProfile);
    }
    writeOutput(request, picture.png(), result);
}

} // namespace nimbrel
