#include "platform/PainterSurface.h"

#include <QApplication>

#include <gtest/gtest.h>

// Window and printing tests run on Qt's offscreen platform, with the chart's fonts registered
// as the program registers them.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    registerChartFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
