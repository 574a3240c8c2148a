// nimbrel-render: the program of --render. It draws without Qt's GUI: its lines and boxes into
// the picture's pixels, its texts from the chart's font file through FreeType.
#include "picture/RenderCommand.h"

int main(int argc, char* argv[]) {
    return nimbrel::commandMain(argc, argv, nimbrel::kRenderJob);
}
