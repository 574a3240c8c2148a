#include "app/CommandLine.h"

#include "LoaderTestSupport.h"

#include <QCryptographicHash>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The pictures users know: every render below must come out pixel for pixel as it was when the
// hashes were taken. A change that alters one on purpose updates its hash, and says why.

namespace {

struct Render {
    const char* file; // under the fixtures, or the sample
    const char* options;
    const char* pixelHash;
};

// SHA-256 of the rendered image's pixels, row by row, as 32-bit RGB.
QByteArray pixelHash(const QImage& rendered) {
    const QImage image = rendered.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int y = 0; y < image.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)),
                                    image.width() * 4));
    return hash.result().toHex();
}

} // namespace

TEST(RenderedCharts, StayPixelForPixelTheSame) {
    const Render renders[] = {
        {"examples/nikkei_sjis_yymmdd.txt", "",
         "1a070bf07a89d71c4e7c6e10969dea11995df62af2b8bd344a1696584384eef0"},
        {"examples/nikkei_sjis_yymmdd.txt", "--size 433x300",
         "28ebe216da4a79c200baab678ab56c2d23f24f0cf74b6c7b9b1ec0150341059a"},
        {"examples/nikkei_sjis_yymmdd.txt", "--log --lagging both --size 1000x700",
         "c2f98a9e45716f889c7767a329ce2c48f28d6ca24b817868512e1762564c108b"},
        {"examples/one_price_lf.txt", "",
         "2fbf705ce36a2d47c1f12b26577934778f63d57631ed0c56189d0c8d197dfd0c"},
        {"examples/one_price_lf.txt", "--log --size 640x400",
         "5b1a6a16b3f19288dbc2caf6191d50d886057862980f18fee8b73baf51baba78"},
        {"examples/toyota_dates.xls", "--lagging back --days 250",
         "8c26f50b2ba4d739cd84cde75bf0ef3dcbbfca8f7d73044fce55b79a8b04f7e8"},
        {"text/day_lines.txt", "--size 1600x900",
         "1a9abd9920ca0723aa817370b5d2bd448aaf992d035bf34736712bac30c37087"},
        {"single_price.xls", "--lagging none --days 40",
         "cd884b9c87649e387c637f5d26992be787cbc40cb01f39b520e265e6e7f30058"},
        {"days15001.xls", "--days 15000 --size 1600x900",
         "8f46153545347553d75f34a3d50ce5a474f3b66b0d6003e5060814ac1d750ea1"},
        {"days15001.xls", "--days 250 --log --lagging both",
         "6a8082e0882e38ef325f0e7c4bafce3d637b67ec443b8143deb48219afd88097"},
        {"SAMPLE", "", "8571029f8a5ccbd58f0a9cf3c06afe0ce968b53a7abbdd35a024c04f97b7a9af"},
        {"SAMPLE", "--size 640x400",
         "82785ce4281546f810cfe41fdb13a9aed6783dc9ccd5aa76c60e6f31ec6717de"},
        {"SAMPLE", "--size 1600x900 --lagging both",
         "23459557bb3a0fe84404bdadf8990b8da97086bf8b160c627e61fd659fbd7dce"},
        {"SAMPLE", "--log --days 3000 --size 1920x1080",
         "1bdc52d17d1c5b7f645f4bb611f1b53c82f9787a6aadf486dfabfa546552aa70"},
        {"SAMPLE", "--days 700 --lagging back --size 433x300",
         "15800f8c84dbe772245b1a064f8c586b83925d351cd82fee1ab3f4475b550571"},
    };
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    for (const Render& render : renders) {
        const QString file = QString::fromLatin1(render.file) == QLatin1String("SAMPLE")
                                 ? QStringLiteral(NIMBREL_SAMPLE)
                                 : kFixtures + QLatin1Char('/') + QString::fromLatin1(render.file);
        QStringList arguments = {QStringLiteral("--render"), png};
        arguments << QString::fromLatin1(render.options).split(QLatin1Char(' '), Qt::SkipEmptyParts)
                  << file;
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const CommandResult result = runCommandLine(arguments);
        ASSERT_LE(result.exitCode, 1) << result.standardError;
        EXPECT_EQ(pixelHash(QImage(png)).toStdString(), render.pixelHash);
    }
}
