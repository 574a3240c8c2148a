#include "command/CommandLine.h"

#include "system/FileAccess.h"
#include "system/ProgramVersion.h"

#include <algorithm>
#include <csignal>
#include <sys/stat.h>

namespace nimbrel {

namespace {

std::string messageLine(const Message& message) {
    return (message.title + QStringLiteral(": ") + message.text).toStdString() + "\n";
}

// Two names of the same file, by another name or a link.
bool sameFile(const QString& a, const QString& b) {
    struct stat first, second;
    return stat(encodeFileName(a).constData(), &first) == 0 &&
           stat(encodeFileName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// Writing OUT would destroy a data file the command reads.
bool outputNamesAnInput(const Request& request) {
    if (request.job == Job::ExportCsv && request.output == QLatin1String("-")) return false;
    return sameFile(request.output, request.file) ||
           (!request.lowerFile.isEmpty() && sameFile(request.output, request.lowerFile));
}

} // namespace

Message cannotWrite(const QString& path) {
    return Message{QStringLiteral("エラー"), QStringLiteral("ファイルに書き込めません\n") + path,
                   MessageIcon::Exclamation};
}

void reportWrongCommand(CommandResult& result) {
    result.exitCode = 2;
    result.standardError = usageText();
}

void reportProblem(const Message& message, CommandResult& result) {
    result.exitCode = std::max(result.exitCode, 1);
    result.standardError += messageLine(message);
}

CommandResult runCommandLine(const QStringList& arguments, const CommandJob& job) {
    CommandResult result;
    const std::optional<Request> request = parseArguments(arguments);
    if (!request || request->job != job.job || outputNamesAnInput(*request))
        reportWrongCommand(result);
    else
        job.run(*request, result);
    return result;
}

int writeCommandOutput(const CommandResult& result, std::FILE* out, std::FILE* err) {
    int exitCode = result.exitCode;
    std::string errors = result.standardError;
    const std::string& table = result.standardOutput;
    if (!table.empty() && (std::fwrite(table.data(), 1, table.size(), out) != table.size() ||
                           std::fflush(out) != 0)) {
        exitCode = std::max(exitCode, 1);
        errors += messageLine(cannotWrite(QStringLiteral("-")));
    }
    std::fwrite(errors.data(), 1, errors.size(), err);
    std::fflush(err);
    return exitCode;
}

int commandMain(int argc, char* argv[], const CommandJob& job) {
    QStringList arguments;
    // File names keep their bytes, so that a name that is not UTF-8 still opens.
    for (int i = 1; i < argc; ++i) arguments << decodeFileName(QByteArray(argv[i]));
    if (arguments == QStringList{QStringLiteral("--help")} ||
        arguments == QStringList{QStringLiteral("-h")}) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (arguments == QStringList{QStringLiteral("--version")}) {
        std::puts(kVersionLine.toStdString().c_str());
        return 0;
    }
    // A reader that stops early (| head) is a failed write to report, not a signal to die of.
    std::signal(SIGPIPE, SIG_IGN);
    return writeCommandOutput(runCommandLine(arguments, job), stdout, stderr);
}

} // namespace nimbrel
