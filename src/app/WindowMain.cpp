// nimbrel-window: the window, started with no argument or with the file or folder to open.
#include "painter/PainterSurface.h"
#include "system/FileAccess.h"
#include "system/IniSettingsStore.h"
#include "ui/FileDrop.h"
#include "ui/MainWindow.h"
#include "ui/QtInputBoxes.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtPrintDialogs.h"
#include "ui/QtTranslation.h"

#include <QApplication>
#include <QString>

namespace nimbrel {
namespace {

int runWindow(int argc, char* argv[]) {
    // File names keep their bytes, so that a name that is not UTF-8 still opens.
    const QString named = argc > 1 ? decodeFileName(QByteArray(argv[1])) : QString();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Nimbrel"));
    QApplication::setApplicationName(QStringLiteral("Nimbrel"));
    loadQtTranslation(application);
    registerChartFonts();
    IniSettingsStore store;
    QtMessageBoxes messages;
    QtInputBoxes inputs;
    QtPrintDialogs printDialogs;
    MainWindow window(store, messages, inputs, printDialogs);
    inputs.setParentWindow(&window);
    window.showAsSaved();
    if (!named.isEmpty()) openNamedPath(window, named);
    return application.exec();
}

} // namespace
} // namespace nimbrel

int main(int argc, char* argv[]) {
    return nimbrel::runWindow(argc, argv);
}
