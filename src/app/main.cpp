#include "app/CommandArguments.h"
#include "app/CommandLine.h"
#include "system/FileAccess.h"
#include "system/IniSettingsStore.h"
#include "render/PainterSurface.h"
#include "ui/QtInputBoxes.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtPrintDialogs.h"
#include "ui/AboutBox.h"
#include "ui/FileDrop.h"
#include "ui/MainWindow.h"

#include <QApplication>
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

bool isCommand(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--export-csv")) || isRenderCommand(arguments);
}

int runCommand(int argc, char* argv[], const QStringList& arguments) {
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

int runProgram(int argc, char* argv[]) {
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
    if (isCommand(arguments)) return runCommand(argc, argv, arguments);
    if (arguments.size() > 1 ||
        (arguments.size() == 1 && arguments[0].startsWith(QLatin1String("--")))) {
        std::fputs(usageText().c_str(), stderr);
        return 2;
    }

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Nimbrel"));
    QApplication::setApplicationName(QStringLiteral("Nimbrel"));
    registerChartFonts();
    IniSettingsStore store;
    QtMessageBoxes messages;
    QtInputBoxes inputs;
    QtPrintDialogs printDialogs;
    MainWindow window(store, messages, inputs, printDialogs);
    inputs.setParentWindow(&window);
    window.showAsSaved();
    if (!arguments.isEmpty()) openNamedPath(window, arguments.front());
    return application.exec();
}

} // namespace nimbrel

int main(int argc, char* argv[]) {
    return nimbrel::runProgram(argc, argv);
}
