#include "painter/ImageSurface.h"
#include "picture/ChartFace.h"
#include "picture/PictureSurface.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace nimbrel {

// The command line's picture prints the chart's texts from the face's file through FreeType;
// the window's image prints them through Qt. The layout places every label by the widths it
// measures, so the two must measure alike to the last bit and print alike to the last pixel.

namespace {

const QString kChartFont = QStringLiteral("ＭＳ 明朝");

// Texts of the chart's kinds, every character of them in the face: numbers, a title, a legend
// with half-width kana, a tab, characters shown as nothing, a kana with a separate voicing
// mark (as file names of some systems hold them), full-width letters.
const QString kTexts[] = {QStringLiteral(" 202611"),
                          QStringLiteral("-0.05"),
                          QStringLiteral("1,234.5"),
                          QStringLiteral("日経平均株価　日足   2024/01/05～2026/08/12"),
                          QStringLiteral("(終値2400.85 ｽﾊﾟﾝ2379,2383) 転換線 基準線"),
                          QStringLiteral("見本\t日足 12\t3"),
                          QStringLiteral("a\u00ADb\u200Bc\uFEFF"),
                          QStringLiteral("テ\u3099ータ\uFF21\uFF11")};

GlyphFace& face() {
    Message problem;
    GlyphFace* face = chartFace(problem);
    if (!face) ADD_FAILURE() << problem.text.toStdString();
    return *face;
}

// The picture's pixels as colours, read back from its PNG file.
QImage pictureImage(const PalettePicture& picture) {
    const std::string png = picture.png();
    return QImage::fromData(QByteArray(png.data(), qsizetype(png.size())), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

// The text printed at (x, y) twips in the chart's font at that size, black on white, on the
// window's image and on the picture.
std::pair<QImage, QImage> printed(const QString& text, double points, double x, double y,
                                  QSize pixels) {
    QImage window = chartImage(pixels);
    {
        ImageSurface surface(window);
        surface.clear();
        surface.setFont(kChartFont, points);
        surface.printText(x, y, text);
    }
    PalettePicture picture(pixels.width(), pixels.height(), Rgb{255, 255, 255});
    {
        PictureSurface surface(picture, face());
        surface.clear();
        surface.setFont(kChartFont, points);
        surface.printText(x, y, text);
    }
    return {window, pictureImage(picture)};
}

int inkedPixels(const QImage& image) {
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) inked += image.pixel(x, y) != qRgb(255, 255, 255);
    return inked;
}

} // namespace

TEST(PictureSurface, MeasuresTextsAsTheWindowsImageAtEverySize) {
    QImage image = chartImage(QSize(10, 10));
    ImageSurface window(image);
    PalettePicture picture(10, 10, Rgb{255, 255, 255});
    PictureSurface surface(picture, face());
    EXPECT_EQ(surface.textWidth(kTexts[0]), 0); // no font yet
    // Every pixel size from 1 to 80, and the largest a page may ask for.
    std::vector<double> sizes;
    for (double points = 0.5; points <= 60; points += 0.75) sizes.push_back(points);
    sizes.push_back(1000);
    for (const double points : sizes) {
        window.setFont(kChartFont, points);
        surface.setFont(kChartFont, points);
        ASSERT_EQ(surface.fontSize(), window.fontSize()) << points;
        EXPECT_EQ(surface.textHeight(kTexts[0]), window.textHeight(kTexts[0])) << points;
        for (const QString& text : kTexts)
            EXPECT_EQ(surface.textWidth(text), window.textWidth(text))
                << text.toStdString() << " at " << points;
    }
}

TEST(PictureSurface, PrintsTextsPixelForPixelAsTheWindowsImageCutAtItsEdges) {
    const QSize pixels(300, 90);
    // Anywhere within a pixel; off the left and top edges; over the right and bottom ones.
    const std::pair<double, double> places[] = {{150, 157},   {157, 153.25}, {161.5, 160.4},
                                                {-37.5, 157}, {150, -60},    {4400, 157},
                                                {150, 1180}};
    for (const double points : {2.0, 6.0, 9.0, 12.0, 18.75, 30.0, 48.0}) {
        for (const QString& text : kTexts) {
            for (const auto& [x, y] : places) {
                SCOPED_TRACE(text.toStdString() + " at " + std::to_string(points) + " points, " +
                             std::to_string(x) + ", " + std::to_string(y));
                const auto [window, picture] = printed(text, points, x, y, pixels);
                EXPECT_EQ(picture, window);
            }
        }
    }
    // Something was printed where it is seen.
    EXPECT_GT(inkedPixels(printed(kTexts[3], 12, -37.5, 157, pixels).second), 100);
}

// Above 64 pixels the window's engine fills each glyph's outline itself, which FreeType's
// rasteriser follows but for pixels on the edges of strokes.
TEST(PictureSurface, PrintsLargeTextsAsTheWindowsImageButForEdgePixels) {
    for (const double points : {49.5, 75.0}) {
        const auto [window, picture] =
            printed(kTexts[3].left(6), points, 157, 161.5, QSize(700, 160));
        int differing = 0;
        for (int y = 0; y < window.height(); ++y)
            for (int x = 0; x < window.width(); ++x)
                differing += picture.pixel(x, y) != window.pixel(x, y);
        const int inked = inkedPixels(window);
        EXPECT_GT(inked, 3000) << points;
        EXPECT_LT(differing, inked / 25) << points << ": " << differing << " of " << inked;
    }
}

TEST(PalettePicture, TakesEachColourOnceAndWritesThePixelsItHolds) {
    PalettePicture picture(3, 2, Rgb{255, 255, 255});
    EXPECT_EQ(picture.colourIndex({255, 255, 255}), 0);
    EXPECT_EQ(picture.colourIndex({0, 150, 150}), 1);
    EXPECT_EQ(picture.colourIndex({0, 0, 0}), 2);
    EXPECT_EQ(picture.colourIndex({0, 150, 150}), 1);
    const PixelTarget<uint8_t> pixels = picture.pixels();
    pixels.bits[1] = 1;
    pixels.bits[pixels.stride + 2] = 2;
    const QImage image = pictureImage(picture);
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 150, 150));
    EXPECT_EQ(image.pixel(2, 1), qRgb(0, 0, 0));
    EXPECT_EQ(inkedPixels(image), 2);
    picture.clear();
    EXPECT_EQ(inkedPixels(pictureImage(picture)), 0);

    // A full palette gives a further colour the nearest it holds.
    for (int grey = 1; picture.colourIndex({uint8_t(grey), uint8_t(grey), 0}) != 255; ++grey) {
    }
    EXPECT_EQ(picture.colourIndex({0, 148, 152}), 1);
    EXPECT_EQ(picture.colourIndex({9, 9, 1}), picture.colourIndex({9, 9, 0}));
}

TEST(ChartFace, IsFoundByItsFileNameInTheFontFolders) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("user/opentype/ipa")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("system/other")));
    for (const char* name : {"user/opentype/ipa/ipam.ttf", "system/other/ipag.ttf", "alone.ttf"})
        ASSERT_TRUE(QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
    const std::filesystem::path root = dir.path().toStdString();
    // A file is taken by its own name; a folder with its subfolders; the first place wins.
    EXPECT_EQ(fontFileIn({root / "missing", root / "system", root / "user"}, "ipam.ttf"),
              root / "user/opentype/ipa/ipam.ttf");
    EXPECT_EQ(fontFileIn({root / "alone.ttf", root}, "alone.ttf"), root / "alone.ttf");
    EXPECT_EQ(fontFileIn({root / "system", root / "alone.ttf"}, "ipam.ttf"), "");
    // The chart's own: IPAMincho, where the package it depends on puts it.
    EXPECT_EQ(chartFontFile(), "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf");
}

} // namespace nimbrel
