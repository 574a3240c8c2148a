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
