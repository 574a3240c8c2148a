#include "painter/PainterSurface.h"
#include "ui/QtTranslation.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Window and printing tests run on Qt's offscreen platform, with the chart's fonts registered
// as the program registers them.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings go to a folder of this run, never to the user's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);
    nimbrel::registerChartFonts();
    nimbrel::loadQtTranslation(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
