// nimbrel-command: the command line's program (--export-csv, --render, --print-pdf, --help,
// --version and wrong commands). It links no widgets and no printing support, which a command
// would only load and relocate at every start; the window is nimbrel-window.
#include "app/CommandArguments.h"
#include "app/CommandLine.h"
#include "painter/PainterSurface.h"
#include "system/FileAccess.h"
#include "system/ProgramVersion.h"

#include <QGuiApplication>
#include <QString>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <memory>

namespace nimbrel {
namespace {

// A headless render has no session: Qt's note that it made itself a runtime folder is noise.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths:"))) return;
    qt_message_output(type, context, message);
}

int runCommand(int argc, char* argv[]) {
    qInstallMessageHandler(quietMessages);
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
    std::unique_ptr<QGuiApplication> application;
    if (isRenderCommand(arguments)) {
        // A render needs fonts but no screen: without a display, draw offscreen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
        registerChartFonts();
    }
    // A reader that stops early (| head) is a failed write to report, not a signal to die of.
    std::signal(SIGPIPE, SIG_IGN);
    return writeCommandOutput(runCommandLine(arguments), stdout, stderr);
}

} // namespace
} // namespace nimbrel

int main(int argc, char* argv[]) {
    return nimbrel::runCommand(argc, argv);
}
