#include "app/CommandLine.h"

#include <QString>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const CommandResult result = runCommandLine(arguments);
    std::fwrite(result.standardOutput.data(), 1, result.standardOutput.size(), stdout);
    std::fwrite(result.standardError.data(), 1, result.standardError.size(), stderr);
    return result.exitCode;
}
