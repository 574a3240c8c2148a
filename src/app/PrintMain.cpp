// nimbrel-print: the program of --print-pdf, which draws through Qt's PDF writer with the
// fonts Qt finds: it runs a GUI application, on no screen.
#include "painter/PainterSurface.h"
#include "print/PrintCommand.h"

#include <QGuiApplication>
#include <QString>

namespace nimbrel {
namespace {

// A headless print has no session: Qt's note that it made itself a runtime folder is noise.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths:"))) return;
    qt_message_output(type, context, message);
}

int runPrint(int argc, char* argv[]) {
    qInstallMessageHandler(quietMessages);
    // Fonts but no screen: without a display, draw offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    registerChartFonts();
    return commandMain(argc, argv, kPrintJob);
}

} // namespace
} // namespace nimbrel

int main(int argc, char* argv[]) {
    return nimbrel::runPrint(argc, argv);
}
