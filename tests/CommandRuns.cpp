#include "CommandRuns.h"

#include "command/CommandWords.h"
#include "command/ExportCommand.h"
#include "picture/RenderCommand.h"
#include "print/PrintCommand.h"

#include <vector>

namespace nimbrel {

CommandResult runCommandLine(const QStringList& arguments) {
    std::vector<QByteArray> words;
    for (const QString& argument : arguments) words.push_back(argument.toUtf8());
    const Program program = programFor(int(words.size()), [&words](int i) {
        return std::string_view(words[size_t(i)].constData(), size_t(words[size_t(i)].size()));
    });
    const CommandJob& job = program == Program::Render  ? kRenderJob
                            : program == Program::Print ? kPrintJob
                                                        : kExportJob;
    return runCommandLine(arguments, job);
}

} // namespace nimbrel
