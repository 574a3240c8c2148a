#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "painter/ImageSurface.h"
#include "painter/PageSurface.h"

#include "ChartSeries.h"
#include "CommandRuns.h"
#include "LoaderTestSupport.h"
#include "PrintedPages.h"

#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPrinter>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace nimbrel {

namespace {

QSet<QRgb> coloursOf(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) colours.insert(line[x] | 0xFF000000);
    }
    return colours;
}

} // namespace

TEST(ImageSurface, TwipsPixelsAndFontsOfTheWindowImage) {
    QImage image = chartImage(QSize(200, 100), 2);
    EXPECT_EQ(image.size(), QSize(400, 200));
    ImageSurface surface(image);
    EXPECT_EQ(surface.width(), 3000);
    EXPECT_EQ(surface.height(), 1500);
    EXPECT_EQ(surface.heightInPoints(), 75);
    surface.setFont(QStringLiteral("ＭＳ 明朝"), 12);
    EXPECT_EQ(surface.fontSize(), 12); // 16 pixels
    surface.setFont(QStringLiteral("ＭＳ 明朝"), 11.6);
    EXPECT_EQ(surface.fontSize(), 11.25); // 15 pixels
    surface.setFont(QStringLiteral("ＭＳ 明朝"), 0.1);
    EXPECT_EQ(surface.fontSize(), 0.75); // never below one pixel
    surface.setFont(QStringLiteral("ＭＳ 明朝"), 12);
    // The Mincho face stands in for the chart's font; a full-width character is an em wide.
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ 明朝"))).family(), QStringLiteral("IPAMincho"));
    EXPECT_NEAR(surface.textWidth(QStringLiteral("あ")), 240, 15);
    EXPECT_NEAR(surface.textWidth(QStringLiteral("0")), 120, 15);
    EXPECT_GT(surface.textHeight(QStringLiteral("0")), 240);

    surface.clear();
    surface.setPenColor({255, 0, 0});
    surface.line(0, 150, 1500, 150); // ten logical pixels down: about row 20 at ratio 2
    surface.box(1500, 750, 1800, 900, {0, 0, 128}, BoxFill::Filled);
    int redRows = 0;
    for (int y = 17; y <= 23; ++y) redRows += (image.pixel(100, y) | 0xFF000000) == qRgb(255, 0, 0);
    EXPECT_EQ(redRows, 2); // a one-pixel pen is two device pixels wide
    EXPECT_EQ(image.pixel(210, 110) | 0xFF000000, qRgb(0, 0, 128));
    EXPECT_EQ(image.pixel(300, 150) | 0xFF000000, qRgb(255, 255, 255));
}

TEST(ImageSurface, TheChartUsesOnlyItsOwnColours) {
    auto series = chartSeries(150);
    ViewState view;
    view.spanBack = true;
    scanVisibleRange(*series, view);
    QImage image = chartImage(QSize(1000, 600));
    {
        ImageSurface surface(image);
        drawChart(surface, *series, view, kScreenProfile);
    }
    const QSet<QRgb> expected = {qRgb(255, 255, 255), qRgb(0, 0, 0),     qRgb(0, 150, 150),
                                 qRgb(0, 200, 0),     qRgb(150, 0, 150), qRgb(0, 0, 255),
                                 qRgb(255, 0, 0),     qRgb(0, 0, 128)};
    QSet<QRgb> found = coloursOf(image);
    EXPECT_TRUE(found.subtract(expected).isEmpty()) << "anti-aliased or stray colours";
    EXPECT_EQ(coloursOf(image), expected);
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

TEST(RenderCommand, WritesThePngOfTheChart) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    const QString file = kFixtures + QStringLiteral("/examples/nikkei_sjis_yymmdd.txt");
    CommandResult result = runCommandLine(
        {QStringLiteral("--render"), png, QStringLiteral("--size"), QStringLiteral("640x400"),
         QStringLiteral("--lagging"), QStringLiteral("both"), QStringLiteral("--log"),
         QStringLiteral("--days"), QStringLiteral("30"), file});
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    const QImage image = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(640, 400));
    EXPECT_TRUE(coloursOf(image).contains(qRgb(150, 0, 150))); // the back placement is drawn

    result = runCommandLine(
        {QStringLiteral("--render"), png, kFixtures + QStringLiteral("/wrong_sheet.xls")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.standardError, "エラー: シート名を確認して下さい\n");
    EXPECT_EQ(QImage(png).size(), QSize(640, 400)); // no day: the older picture stays

    result = runCommandLine(
        {QStringLiteral("--render"), dir.filePath(QStringLiteral("none/x.png")), file});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.standardError.find("ファイルに書き込めません"), std::string::npos);
}

TEST(ImageSurface, NumberWidthsAreTheWidthsOfTheirText) {
    QImage image = chartImage(QSize(100, 100));
    ImageSurface surface(image);
    const QString texts[] = {QStringLiteral(" 199901"), QStringLiteral("-12.50"),
                             QStringLiteral("1,234"), QStringLiteral("0")};
    for (double points = 2; points <= 30; points += 0.75) {
        surface.setFont(QStringLiteral("ＭＳ 明朝"), points);
        QFont font(QStringLiteral("ＭＳ 明朝"));
        font.setPixelSize(static_cast<int>(std::lround(points * 96 / 72)));
        font.setStyleStrategy(QFont::NoAntialias);
        const QFontMetricsF metrics(font, &image);
        for (const QString& text : texts)
            EXPECT_DOUBLE_EQ(surface.textWidth(text), metrics.horizontalAdvance(text) * 15)
                << points;
    }
}

// On paper too, at the page's resolution: the printed layout places its labels by these widths.
TEST(PageSurface, NumberWidthsAreTheWidthsOfTheirText) {
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("widths.pdf")));
    PageSurface page(printer, printer.resolution());
    const double dotsPerInch = printer.resolution(), twipsPerDot = 1440 / dotsPerInch;
    for (double points = 2; points <= 14; points += 1.5) {
        page.setFont(QStringLiteral("ＭＳ 明朝"), points);
        QFont font(QStringLiteral("ＭＳ 明朝"));
        font.setPixelSize(static_cast<int>(std::lround(points * dotsPerInch / 72)));
        font.setStyleStrategy(QFont::NoAntialias);
        const QFontMetricsF metrics(font, &printer);
        for (const QString& text : {QStringLiteral(" 199901"), QStringLiteral("-12.50")})
            EXPECT_DOUBLE_EQ(page.textWidth(text), metrics.horizontalAdvance(text) * twipsPerDot)
                << points;
    }
    page.end();
}

TEST(ImageSurface, KeepsTheFontsOfEachNameAndSizeApart) {
    QImage image = chartImage(QSize(100, 100));
    ImageSurface surface(image);
    const QString mincho = QStringLiteral("ＭＳ 明朝"),
                  proportionalMincho = QStringLiteral("IPAPMincho");
    const QString text = QStringLiteral("iiii"), number = QStringLiteral(" 1.5");
    surface.setFont(mincho, 12);
    const double fixedPitch = surface.textWidth(text), fixedNumber = surface.textWidth(number);
    surface.setFont(proportionalMincho, 12);
    const double proportional = surface.textWidth(text);
    const double proportionalNumber = surface.textWidth(number);
    surface.setFont(mincho, 9);
    const double smaller = surface.textWidth(text), smallerNumber = surface.textWidth(number);
    EXPECT_LT(proportional, fixedPitch);
    EXPECT_LT(proportionalNumber, fixedNumber);      // a narrow blank and point
    EXPECT_DOUBLE_EQ(smaller, fixedPitch * 12 / 16); // 12 pixels, not 16: half an em each
    EXPECT_DOUBLE_EQ(smallerNumber, fixedNumber * 12 / 16);
    surface.setFont(mincho, 12);
    EXPECT_DOUBLE_EQ(surface.textWidth(text), fixedPitch);
    surface.setFont(proportionalMincho, 12);
    EXPECT_DOUBLE_EQ(surface.textWidth(text), proportional);
}

// What the window prints is what Qt prints with the chart's font, also for characters the face
// lacks, which other fonts stand in for (☺ is not in the Mincho face), and at any position.
TEST(ImageSurface, PrintsTextsAsTheChartsFontDoesWhereverItsGlyphsComeFrom) {
    QFont font(QStringLiteral("ＭＳ 明朝"));
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::NoAntialias);
    const QString texts[] = {
        QStringLiteral(" 202611"), QStringLiteral("-0.05"), QStringLiteral("見本 12.5"),
        QStringLiteral("(終値2400.85 ｽﾊﾟﾝ2379,2383)"), QStringLiteral("見本☺ ｽﾊﾟﾝ")};
    for (const QString& text : texts) {
        for (const double x : {150.0, 157.0, 161.5}) {
            SCOPED_TRACE(text.toStdString() + " at " + std::to_string(x));
            QImage printed = chartImage(QSize(200, 40));
            {
                ImageSurface surface(printed);
                surface.clear();
                surface.setFont(QStringLiteral("ＭＳ 明朝"), 12);
                surface.printText(x, 157, text);
            }
            QImage blank = chartImage(QSize(200, 40));
            blank.fill(Qt::white);
            QImage expected = blank.copy();
            {
                QPainter painter(&expected);
                painter.setRenderHint(QPainter::TextAntialiasing, false);
                painter.setFont(font);
                painter.drawText(QPointF(x / 15, 157 / 15.0 + QFontMetricsF(font).ascent()), text);
            }
            EXPECT_EQ(printed, expected);
            EXPECT_NE(printed, blank); // something was printed
        }
    }
}

} // namespace nimbrel
