#include "app/CommandLine.h"
#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "data/DataFileLoader.h"
#include "ichimoku/Ichimoku.h"
#include "platform/ImageSurface.h"

#include "LoaderTestSupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
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

// The sample's dates and closes as a one-price file: a thick price line over 3000 days.
QString writeOnePriceSample(const QTemporaryDir& dir) {
    QFile sample(QStringLiteral(NIMBREL_SAMPLE));
    if (!sample.open(QIODevice::ReadOnly)) return {};
    const QList<QByteArray> lines = sample.readAll().split('\n');
    QByteArray out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].trimmed().split(' ');
        if (i < 2 || fields.size() < 5)
            out += lines[i] + '\n';
        else
            out += fields[0] + ' ' + fields[4] + "\r\n";
    }
    const QString path = dir.filePath(QStringLiteral("one_price_sample.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size()) return {};
    return path;
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
        {"SAMPLE", "--days 3000 --size 800x1200",
         "5a40f972813186abe51b0bf2d29b1708a77650f0e9a0f694fb081def68d7cb5d"},
        {"SAMPLE", "--days 1 --size 640x400",
         "75e62fb7c4a1d2f600cae5b0b74d3cb8670d26a906abe753b9a02374c6fc05be"},
        {"SAMPLE", "--size 200x150 --lagging both",
         "0ab19583f3bac742803748d2f2540e13802b7fe807b6bf981adcca268766df3c"},
        {"examples/nikkei_sjis_yymmdd.txt", "--size 3000x2000 --lagging both",
         "177f33bac5fecd8f2060c4d29f9051014ef69919ded895d88b1c0f126a482225"},
        {"examples/one_price_lf.txt", "--size 1600x900",
         "67e1debd6ff8b28caa95f6f7e1f1aeef176175e7dcb8790357801c16b43878bf"},
        {"examples/one_price_lf.txt", "--size 433x300 --lagging both",
         "5ac909541740fb3c52abe538bacf9c417c1eb1f8872ea992fba453141830bbb1"},
        {"examples/one_price_lf.txt", "--size 1920x1080 --lagging back --log",
         "1d127d482da75b784695e9aaf55b3f0b718cc20f1275cebd8d2dbc43ef02762b"},
        {"single_price.xls", "--size 320x200",
         "3d0ef5bd45ee73958c2167b6f4f2c66b110024ba4c90329c0fd7fb103b11f556"},
        {"ONE_PRICE_SAMPLE", "",
         "c51239e8a42aec5f76bbbe5b3a695bd526b5dfb6c1a31bc588b392d97ea12d78"},
        {"ONE_PRICE_SAMPLE", "--days 700 --size 640x400",
         "d636af283282f37f9e836cbd3eed36d045b6aaadbbe87ea3aae665d34ad5a1a5"},
        {"ONE_PRICE_SAMPLE", "--days 3000 --size 1600x900",
         "210d24ddf1369dc0ae6adbeed1108c6ae8dda6d28a45673c5ccc26b93d31e0c9"},
        {"ONE_PRICE_SAMPLE", "--days 3000 --log --lagging both --size 1920x1080",
         "7a24e6cee5f45cccc96861ad0b82a7c562d6d2f769fb5a4f509856780481d7b9"},
        {"days15001.xls", "--days 15000 --size 1920x1080 --lagging both",
         "b433e345fa23c18b594145430689cb7738f72767fb6bba5ce52724a17f88cdb7"},
        {"days15001.xls", "--days 15000 --log --size 1280x800",
         "e0b2d6c4040de3bddd73e21f798e20f8705be4ced3b7ff3693448443dc7bc3b6"},
        {"days15001.xls", "--days 15000 --lagging none --size 433x300",
         "5f394445742c12a5c1dc88119140d895e9c1987a98c424b4612fc1d43cd6bc07"},
        {"days15001.xls", "--size 2560x1440",
         "95d2f1cf2bc2dca35631d0ab893925579578b02ab2da81ff46b80fbe355e23c1"},
    };
    QTemporaryDir dir;
    const QString onePriceSample = writeOnePriceSample(dir);
    ASSERT_FALSE(onePriceSample.isEmpty());
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    for (const Render& render : renders) {
        const QString name = QString::fromLatin1(render.file);
        const QString file = name == QLatin1String("SAMPLE") ? QStringLiteral(NIMBREL_SAMPLE)
                             : name == QLatin1String("ONE_PRICE_SAMPLE")
                                 ? onePriceSample
                                 : kFixtures + QLatin1Char('/') + name;
        QStringList arguments = {QStringLiteral("--render"), png};
        arguments << QString::fromLatin1(render.options).split(QLatin1Char(' '), Qt::SkipEmptyParts)
                  << file;
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const CommandResult result = runCommandLine(arguments);
        ASSERT_LE(result.exitCode, 1) << result.standardError;
        EXPECT_EQ(pixelHash(QImage(png)).toStdString(), render.pixelHash);
    }
}

// The window draws the same pass into an image at the screen's pixel density.
TEST(RenderedCharts, WindowImagesOfHighDensityScreensStayTheSame) {
    const struct {
        qreal ratio;
        int days;
        bool spanBack;
        const char* pixelHash;
    } windows[] = {
        {2, 120, false, "f9bfc7156af219f5f13d4c8be9481c74fcc246eccb48231db28fe122f7df0a57"},
        {2, 3000, true, "5d9c5cfa537d45751b6ca453c0716e8a8add5819ca010dee90d1b7e48a8d3dd4"},
        {1.5, 700, true, "9c6467f83359bdf4f7d3cd24a9e2864ed8d7ac6ab86f471ec7eb2420a55f67ea"},
    };
    PriceSeries series;
    ASSERT_FALSE(loadDataFile(series, QFileInfo(QStringLiteral(NIMBREL_SAMPLE)).path(),
                              QStringLiteral("sample.txt"), QStringLiteral("sheet1$")));
    computeIchimoku(series);
    for (const auto& window : windows) {
        SCOPED_TRACE(window.ratio);
        ViewState view;
        view.maxLength = static_cast<int16_t>(window.days);
        view.spanBack = window.spanBack;
        showNewestDays(series, view);
        QImage image = chartImage(QSize(1000, 600), window.ratio);
        {
            ImageSurface surface(image);
            drawChart(surface, series, view, kScreenProfile);
        }
        EXPECT_EQ(pixelHash(image).toStdString(), window.pixelHash);
    }
}
