#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "painter/PageSurface.h"

#include "ChartSeries.h"
#include "CommandRuns.h"
#include "LoaderTestSupport.h"
#include "PrintedPages.h"
#include "Printers.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

ViewState scanned(const PriceSeries& series) {
    ViewState view;
    scanVisibleRange(series, view);
    return view;
}

} // namespace

TEST(PrintedSheet, ThePlotStands350TwipsLowerAnd300TwipsFurtherRightInBlackOnWhite) {
    // The same chart with and without the page's margins, at 144 dpi: 350 twips are 35 pixels
    // and 300 twips 30. The title's top and the price labels' left edge move; the date labels at
    // the foot and the plot's right edge stay.
    QTemporaryDir dir;
    auto series = chartSeries(120);
    series->titleLine2.clear();
    ChartProfile noMargins = kPageProfile;
    noMargins.frameMargin = noMargins.labelMargin = 0;
    QImage pages[2];
    double plotRight[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(i));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        ViewState view = scanned(*series);
        {
            PageSurface page(printer, printer.resolution());
            plotRight[i] =
                drawChart(page, *series, view, i == 0 ? noMargins : kPageProfile).frame.right;
            page.end();
        }
        pages[i] = pdfPageImage(pdf, 144);
    }
    const QRect without = inkBounds(pages[0]), with = inkBounds(pages[1]);
    EXPECT_NEAR(with.top() - without.top(), 35, 1);
    EXPECT_NEAR(with.left() - without.left(), 30, 1);
    EXPECT_NEAR(with.bottom() - without.bottom(), 0, 1);
    EXPECT_EQ(plotRight[1], plotRight[0]);
    for (int y = 0; y < pages[1].height(); ++y)
        for (int x = 0; x < pages[1].width(); ++x)
            ASSERT_TRUE(pages[1].pixel(x, y) == qRgb(0, 0, 0) ||
                        pages[1].pixel(x, y) == qRgb(255, 255, 255))
                << x << "," << y;
}

// Pen widths are pixels of a 96 dpi screen on paper too: a page seen at 192 dpi shows a
// one-pixel pen two pixels wide and a five-pixel pen ten, whatever the printer's resolution.
TEST(PageSurface, PensKeepTheirScreenWeightOnPaper) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("pens.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    {
        PageSurface page(printer, printer.resolution());
        page.setPenColor({0, 0, 0});
        for (const int width : {1, 2, 5}) {
            page.setPenWidth(width);
            const double x = 1440 * width; // an inch apart: 192 pixels at 192 dpi
            page.line(x, 1440, x, 2880);
        }
        page.end();
    }
    const QImage image = pdfPageImage(pdf, 192);
    const QPoint origin = printer.pageLayout().paintRectPixels(192).topLeft();
    for (const int width : {1, 2, 5}) {
        int inked = 0;
        for (int x = origin.x() + 192 * width - 12; x <= origin.x() + 192 * width + 12; ++x)
            inked += image.pixel(x, origin.y() + 288) == qRgb(0, 0, 0);
        EXPECT_NEAR(inked, 2 * width, 1) << width;
    }
}

// The chart is laid out on the paper within its margins, never on the margins themselves.
TEST(PageSurface, IsThePaperWithinItsMargins) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("margins.pdf")));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(36, 72, 36, 72), QPageLayout::Point));
    PageSurface page(printer, printer.resolution());
    const QSizeF paper = QPageSize(QPageSize::A4).sizePoints(); // 20 twips a point
    EXPECT_NEAR(page.width(), (paper.width() - 72) * 20, 2);    // a dot is 1.2 twips
    EXPECT_NEAR(page.height(), (paper.height() - 144) * 20, 2);
    page.end();
}

TEST(PrintPdfCommand, PrintsTwoFilesOnOneSheetOfTheChosenPaperOrReportsTheError) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const QString nikkei = kFixtures + QStringLiteral("/examples/nikkei_sjis_yymmdd.txt");
    CommandResult result = runCommandLine(
        {QStringLiteral("--print-pdf"), pdf, QStringLiteral("--paper"), QStringLiteral("letter"),
         QStringLiteral("--landscape"), nikkei, QStringLiteral("--lower"),
         kFixtures + QStringLiteral("/examples/one_price_lf.txt")});
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_EQ(pdfPageSize(pdf), QSizeF(792, 612));
    EXPECT_LT(pdfWordHeight(pdf, QStringLiteral("日経平均")), 0.1); // the first file above
    EXPECT_GT(pdfWordHeight(pdf, QStringLiteral("Single")), 0.45);  // --lower below
    QFile plain(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    EXPECT_EQ(QFile::permissions(pdf), plain.permissions()); // as any new file, not a draft's
    // B5 is the JIS size Japanese printers and paper call B5: 182 x 257 mm.
    result = runCommandLine({QStringLiteral("--print-pdf"), pdf, QStringLiteral("--paper"),
                             QStringLiteral("b5"), nikkei});
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_NEAR(pdfPageSize(pdf).width(), 182 / 25.4 * 72, 1);
    EXPECT_NEAR(pdfPageSize(pdf).height(), 257 / 25.4 * 72, 1);

    result = runCommandLine(
        {QStringLiteral("--print-pdf"), dir.filePath(QStringLiteral("none/out.pdf")), nikkei});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.standardError.rfind("エラー: 印刷できません\n", 0), 0u)
        << result.standardError;
}

} // namespace nimbrel
