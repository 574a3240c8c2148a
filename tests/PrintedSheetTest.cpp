#include "app/CommandLine.h"
#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "platform/PrinterSurface.h"
#include "platform/QtPrinter.h"
#include "print/PrintDocument.h"

#include "ChartSeries.h"
#include "LoaderTestSupport.h"
#include "PrintFakes.h"
#include "PrintedPages.h"
#include "Printers.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<PriceSeries> titled(const char* title) {
    auto series = chartSeries(120);
    series->titleLine1 = QString::fromUtf8(title);
    return series;
}

// The charts on one A4 sheet of a PDF, as the print commands draw them.
QString printSheet(const QTemporaryDir& dir,
                   std::initializer_list<std::pair<const PriceSeries*, SheetPart>> charts) {
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    QtPrinter printer;
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setPageSize(QPageSize(QPageSize::A4));
    printer.setFileName(pdf);
    PrintDocument document(printer);
    for (const auto& [series, part] : charts) {
        ViewState view;
        scanVisibleRange(*series, view);
        EXPECT_TRUE(document.printChart(*series, view, part).printedChart);
    }
    EXPECT_FALSE(document.end());
    return pdf;
}

// Where on the page (0 top, 1 bottom) each word of the text stands.
std::vector<double> heightsOf(const std::vector<PdfWord>& words, const QString& text,
                              double pageHeight) {
    std::vector<double> found;
    for (const PdfWord& word : words)
        if (word.text == text) found.push_back(word.y / pageHeight);
    return found;
}

bool onlyBlackAndWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0 && (line[x] & 0xFFFFFF) != 0xFFFFFF) return false;
    }
    return true;
}

} // namespace

TEST(PrintedSheet, TwoHalvesMakeOneSheetOfTwoCompleteCharts) {
    QTemporaryDir dir;
    const auto upper = titled("上段"), lower = titled("下段");
    const QString pdf =
        printSheet(dir, {{upper.get(), SheetPart::UpperHalf}, {lower.get(), SheetPart::LowerHalf}});
    EXPECT_EQ(pdfPageCount(pdf), 1);
    const double height = pdfPageSize(pdf).height();
    const std::vector<PdfWord> words = pdfWords(pdf);
    using Heights = std::vector<double>;
    const Heights upperTitle = heightsOf(words, QStringLiteral("上段"), height);
    const Heights lowerTitle = heightsOf(words, QStringLiteral("下段"), height);
    ASSERT_EQ(upperTitle.size(), 1u);
    ASSERT_EQ(lowerTitle.size(), 1u);
    EXPECT_LT(upperTitle[0], 0.1);
    EXPECT_TRUE(lowerTitle[0] > 0.45 && lowerTitle[0] < 0.6) << lowerTitle[0];
    // Each half its own legend, top and bottom price labels and month labels.
    for (const char* text : {"(終値4670", "5000", "4000", "199901", "199906"}) {
        const Heights at = heightsOf(words, QString::fromUtf8(text), height);
        ASSERT_EQ(at.size(), 2u) << text;
        EXPECT_TRUE(at[0] < 0.5 && at[1] > 0.5) << text;
    }
    EXPECT_TRUE(onlyBlackAndWhite(pdfPageImage(pdf, 100)));
}

TEST(PrintedSheet, AWholeSheetIsDrawnOverAnOpenUpperHalf) {
    QTemporaryDir dir;
    const auto upper = titled("上段"), whole = titled("全体");
    const QString pdf =
        printSheet(dir, {{upper.get(), SheetPart::UpperHalf}, {whole.get(), SheetPart::Whole}});
    EXPECT_EQ(pdfPageCount(pdf), 1);
    const double height = pdfPageSize(pdf).height();
    const std::vector<PdfWord> words = pdfWords(pdf);
    EXPECT_EQ(heightsOf(words, QStringLiteral("上段"), height).size(), 1u);
    EXPECT_EQ(heightsOf(words, QStringLiteral("全体"), height).size(), 1u);
    // The upper chart's bottom label near the middle, the whole chart's near the foot.
    const std::vector<double> bottoms = heightsOf(words, QStringLiteral("4000"), height);
    ASSERT_EQ(bottoms.size(), 2u);
    EXPECT_TRUE(bottoms[0] > 0.4 && bottoms[0] < 0.5) << bottoms[0];
    EXPECT_GT(bottoms[1], 0.85);
}

TEST(PrintedSheet, ALowerHalfAloneLeavesTheUpperHalfEmpty) {
    QTemporaryDir dir;
    const auto lower = titled("下段");
    const QImage page = pdfPageImage(printSheet(dir, {{lower.get(), SheetPart::LowerHalf}}), 72);
    ASSERT_FALSE(page.isNull());
    const QRect ink = inkBounds(page);
    EXPECT_GT(ink.top(), page.height() * 0.45);
    EXPECT_GT(ink.bottom(), page.height() * 0.9);
    EXPECT_TRUE(onlyBlackAndWhite(page));
}

TEST(PrintedSheet, ThePlotStands350TwipsLowerAnd300TwipsFurtherRightOnPaper) {
    // The same chart with and without the page's margins, at 144 dpi: 350 twips are 35 pixels
    // and 300 twips 30. The title's top and the price labels' left edge move; the date labels at
    // the foot and the plot's right edge stay.
    QTemporaryDir dir;
    auto series = titled("A");
    series->titleLine2.clear();
    ChartProfile noMargins = kPageProfile;
    noMargins.frameMargin = noMargins.labelMargin = 0;
    QRect bounds[2];
    for (int i = 0; i < 2; ++i) {
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(i));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        ViewState view;
        scanVisibleRange(*series, view);
        {
            PrinterSurface page(printer);
            drawChart(page, *series, view, i == 0 ? noMargins : kPageProfile);
            page.endDocument();
        }
        bounds[i] = inkBounds(pdfPageImage(pdf, 144));
    }
    EXPECT_NEAR(bounds[1].top() - bounds[0].top(), 35, 1);
    EXPECT_NEAR(bounds[1].left() - bounds[0].left(), 30, 1);
    EXPECT_NEAR(bounds[1].bottom() - bounds[0].bottom(), 0, 1);
    EXPECT_NEAR(bounds[1].right() - bounds[0].right(), 0, 1);
}

TEST(PrintPdfCommand, PrintsTheWholeSheetOrTwoFilesOnOneOnTheChosenPaper) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    const QString nikkei = kFixtures + QStringLiteral("/examples/nikkei_sjis_yymmdd.txt");
    const QString onePrice = kFixtures + QStringLiteral("/examples/one_price_lf.txt");
    CommandResult result = runCommandLine({QStringLiteral("--print-pdf"), pdf, nikkei});
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_NEAR(pdfPageSize(pdf).width(), 595, 1); // A4 upright
    EXPECT_NEAR(pdfPageSize(pdf).height(), 842, 1);
    QFile plain(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    EXPECT_EQ(QFile::permissions(pdf), plain.permissions()); // as any new file, not a draft's

    result = runCommandLine({QStringLiteral("--print-pdf"), pdf, QStringLiteral("--paper"),
                             QStringLiteral("letter"), QStringLiteral("--landscape"), nikkei,
                             QStringLiteral("--lower"), onePrice, QStringLiteral("--days"),
                             QStringLiteral("30")});
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(pdfPageCount(pdf), 1);
    const QSizeF letterAcross = pdfPageSize(pdf);
    EXPECT_EQ(letterAcross, QSizeF(792, 612));
    std::vector<double> titles; // the nikkei file above, the one-price file below
    for (const PdfWord& word : pdfWords(pdf))
        if (word.text.startsWith(QStringLiteral("日経平均")) ||
            word.text == QStringLiteral("Single"))
            titles.push_back(word.y / letterAcross.height());
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_TRUE(titles[0] < 0.1 && titles[1] > 0.45);

    // A file with a problem is reported as by the render and still printed; a PDF that cannot
    // be written is an error of its own.
    result = runCommandLine({QStringLiteral("--print-pdf"), pdf, nikkei, QStringLiteral("--lower"),
                             kFixtures + QStringLiteral("/wrong_sheet.xls")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.standardError, "エラー: シート名を確認して下さい\n");
    EXPECT_EQ(pdfPageCount(pdf), 1);
    result = runCommandLine(
        {QStringLiteral("--print-pdf"), dir.filePath(QStringLiteral("none/out.pdf")), nikkei});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.standardError.rfind("エラー: 印刷できません\n", 0), 0u)
        << result.standardError;
}

TEST(PrintedSheet, APageSetupWhileAHalfIsOpenHoldsFromTheNextSheet) {
    QTemporaryDir dir;
    const auto series = titled("A");
    ViewState view;
    scanVisibleRange(*series, view);
    QtPrinter printer;
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setPageSize(QPageSize(QPageSize::A4));
    const QString first = dir.filePath(QStringLiteral("first.pdf"));
    const QString second = dir.filePath(QStringLiteral("second.pdf"));
    printer.setFileName(first);
    PrintDocument document(printer);
    FakePrintDialogs dialogs;
    EXPECT_TRUE(document.printChart(*series, view, SheetPart::UpperHalf).printedChart);
    EXPECT_FALSE(printer.setUp(dialogs, nullptr)); // cancelled
    dialogs.chooseInSetUp = [&second](QPrinter& next) {
        next.setOutputFileName(second);
        next.setPageSize(QPageSize(QPageSize::A5));
        next.setPageOrientation(QPageLayout::Landscape);
    };
    EXPECT_TRUE(printer.setUp(dialogs, nullptr));
    EXPECT_EQ(printer.fileName(), second);
    EXPECT_TRUE(document.printChart(*series, view, SheetPart::LowerHalf).printedChart);
    EXPECT_TRUE(document.printChart(*series, view, SheetPart::Whole).printedChart);
    EXPECT_EQ(pdfPageSize(first), QSizeF(595, 842)); // the open sheet kept its A4 upright
    EXPECT_NEAR(pdfPageSize(second).width(), 595.3, 0.5);
    EXPECT_NEAR(pdfPageSize(second).height(), 419.5, 0.5);
}

TEST(PrintedSheet, ASheetWhoseFileWentWrongIsReportedAndSpoilsNoOlderFile) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    QFile older(pdf);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("older");
    older.close();
    const auto series = titled("A");
    ViewState view;
    scanVisibleRange(*series, view);
    QtPrinter printer;
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.setFileName(pdf);
    PrintDocument document(printer);
    EXPECT_TRUE(document.printChart(*series, view, SheetPart::UpperHalf).printedChart);
    // The half-written sheet's file vanishes, as on a disk that failed.
    const QStringList drafts = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(drafts.size(), 2);
    for (const QString& name : drafts)
        if (name != QStringLiteral("chart.pdf")) QFile::remove(dir.filePath(name));

    const PrintResult result = document.printChart(*series, view, SheetPart::LowerHalf);
    EXPECT_FALSE(result.printedChart);
    ASSERT_TRUE(result.failure);
    EXPECT_TRUE(result.failure->text.startsWith(QStringLiteral("印刷できません\n") + pdf));
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "older");
    EXPECT_FALSE(document.isOpen());
}
