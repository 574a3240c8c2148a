#include "ui/ChartView.h"

#include <gtest/gtest.h>

namespace nimbrel {

// The view keeps the pixels of its image across resizes; a copy of an image taken before a
// resize still shows what it showed.
TEST(ChartView, ACopyOfTheImageKeepsItsPixelsAcrossResizes) {
    ChartView view;
    view.resize(300, 200);
    QImage& first = view.imageForDrawing();
    ASSERT_EQ(first.size(), QSize(300, 200));
    first.fill(qRgb(10, 20, 30));
    const QImage kept = first;

    for (const QSize size : {QSize(299, 200), QSize(300, 201), QSize(120, 80)}) {
        view.resize(size);
        QImage& next = view.imageForDrawing();
        ASSERT_EQ(next.size(), size);
        next.fill(qRgb(200, 100, 50));
        EXPECT_EQ(next.pixel(size.width() - 1, size.height() - 1), qRgb(200, 100, 50));
        EXPECT_EQ(kept.size(), QSize(300, 200));
        EXPECT_EQ(kept.pixel(0, 0), qRgb(10, 20, 30));
        EXPECT_EQ(kept.pixel(299, 199), qRgb(10, 20, 30));
    }
    // Without a copy in the way, the same size keeps the same image.
    QImage& again = view.imageForDrawing();
    again.setPixel(0, 0, qRgb(1, 2, 3));
    EXPECT_EQ(view.imageForDrawing().pixel(0, 0), qRgb(1, 2, 3));
}

} // namespace nimbrel
