#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "data/DataFileLoader.h"
#include "ichimoku/Ichimoku.h"
#include "painter/ImageSurface.h"

#include "CommandRuns.h"
#include "LoaderTestSupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace nimbrel {

// The pictures users know: every render below must come out pixel for pixel as it was when the
// hashes were taken. A change that alters one on purpose updates its hash, and says why.

namespace {

struct Render {
    const char* file; // under the fixtures, or the sample
    const char* options;
    const char* pixelHash;
};

// The first 64 bits of the SHA-256 of the image's pixels, row by row, as 32-bit RGB: enough
// to tell any change.
QByteArray pixelHash(const QImage& rendered) {
    const QImage image = rendered.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int y = 0; y < image.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)),
                                    image.width() * 4));
    return hash.result().toHex().left(16);
}

// The picture's pixels hash as pinned; otherwise the picture made is written beside the test's
// output, and the failure names it.
void expectPixelHash(const QImage& made, const char* expected, const QString& name) {
    const QByteArray hash = pixelHash(made);
    if (hash == expected) return;
    QString file = name.trimmed();
    file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]+")), QStringLiteral("_"));
    file = QStringLiteral(NIMBREL_TEST_OUTPUT "/") + file + QStringLiteral(".made.png");
    made.save(file);
    ADD_FAILURE() << name.toStdString() << ": pixels hash " << hash.toStdString() << ", not "
                  << expected << " (made: " << file.toStdString() << ")";
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
    // clang-format off
    const Render renders[] = {
        {"examples/nikkei_sjis_yymmdd.txt", "", "1a070bf07a89d71c"},
        {"examples/nikkei_sjis_yymmdd.txt", "--size 433x300", "28ebe216da4a79c2"},
        {"examples/nikkei_sjis_yymmdd.txt", "--log --lagging both --size 1000x700", "c2f98a9e45716f88"},
        {"examples/one_price_lf.txt", "", "2fbf705ce36a2d47"},
        {"examples/one_price_lf.txt", "--log --size 640x400", "5b1a6a16b3f19288"},
        {"examples/toyota_dates.xls", "--lagging back --days 250", "8c26f50b2ba4d739"},
        {"text/day_lines.txt", "--size 1600x900", "f8474da0d59113eb"},
        {"single_price.xls", "--lagging none --days 40", "cd884b9c87649e38"},
        {"days15001.xls", "--days 15000 --size 1600x900", "8f46153545347553"},
        {"days15001.xls", "--days 250 --log --lagging both", "6a8082e0882e38ef"},
        {"SAMPLE", "", "8571029f8a5ccbd5"},
        {"SAMPLE", "--size 640x400", "82785ce4281546f8"},
        {"SAMPLE", "--size 1600x900 --lagging both", "23459557bb3a0fe8"},
        {"SAMPLE", "--log --days 3000 --size 1920x1080", "1bdc52d17d1c5b7f"},
        {"SAMPLE", "--days 700 --lagging back --size 433x300", "15800f8c84dbe772"},
        {"SAMPLE", "--days 3000 --size 800x1200", "1014cf7e5cb4e115"},
        {"SAMPLE", "--days 1 --size 640x400", "75e62fb7c4a1d2f6"},
        {"SAMPLE", "--size 200x150 --lagging both", "0ab19583f3bac742"},
        {"examples/nikkei_sjis_yymmdd.txt", "--size 3000x2000 --lagging both", "177f33bac5fecd8f"},
        {"examples/one_price_lf.txt", "--size 1600x900", "67e1debd6ff8b28c"},
        {"examples/one_price_lf.txt", "--size 433x300 --lagging both", "5ac909541740fb3c"},
        {"examples/one_price_lf.txt", "--size 1920x1080 --lagging back --log", "1d127d482da75b78"},
        {"single_price.xls", "--size 320x200", "3d0ef5bd45ee7395"},
        {"ONE_PRICE_SAMPLE", "", "c51239e8a42aec5f"},
        {"ONE_PRICE_SAMPLE", "--days 700 --size 640x400", "d636af283282f37f"},
        {"ONE_PRICE_SAMPLE", "--days 3000 --size 1600x900", "210d24ddf1369dc0"},
        {"ONE_PRICE_SAMPLE", "--days 3000 --log --lagging both --size 1920x1080", "7a24e6cee5f45ccc"},
        {"days15001.xls", "--days 15000 --size 1920x1080 --lagging both", "b433e345fa23c18b"},
        {"days15001.xls", "--days 15000 --log --size 1280x800", "e0b2d6c4040de3bd"},
        {"days15001.xls", "--days 15000 --lagging none --size 433x300", "5f394445742c12a5"},
        {"days15001.xls", "--size 2560x1440", "95d2f1cf2bc2dca3"},
        {"SAMPLE", "--bars weekly --days 250","d4265a80f37829d1"},
        {"SAMPLE", "--bars monthly --days 150 --log","18e60e648c038759"},
        {"SAMPLE", "--time-from 20260714 --equal-count 20260602,20260714","f1cc7a1523281739"},
        {"SAMPLE", "--targets 20260602,20260714,20260812 --log","ae304fa8d0e29839"},
        {"SAMPLE", "--bars weekly --targets 20260105,20260602,20260812 --time-from 20260105","b17f7352cafc4f40"},
    };
    // clang-format on
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
        const QString shown = name + QLatin1Char(' ') + QString::fromLatin1(render.options);
        const CommandResult result = runCommandLine(arguments);
        ASSERT_LE(result.exitCode, 1) << shown.toStdString() << ": " << result.standardError;
        expectPixelHash(QImage(png), render.pixelHash, shown);
    }
}

// The window draws the same pass into an image at the screen's pixel density, and shrinks the
// chart by the reductions the user typed, which no command reaches.
TEST(RenderedCharts, WindowImagesStayTheSame) {
    const struct {
        qreal ratio;
        int days;
        bool spanBack;
        float reduceX, reduceY;
        QSize size;
        const char* pixelHash;
    } windows[] = {
        {2, 120, false, 1, 1, {1000, 600}, "f9bfc7156af219f5"},
        {2, 3000, true, 1, 1, {1000, 600}, "5d9c5cfa537d4575"},
        {1.5, 700, true, 1, 1, {1000, 600}, "9c6467f83359bdf4"},
        {1, 250, false, 0.5, 1, {1000, 600}, "df934eb32528056d"},
        {1, 250, true, 1, 0.4f, {1000, 600}, "573c4d28ff36a424"},
        {1, 120, true, 0.6f, 0.8f, {320, 200}, "55ed4b549ce10e91"},
    };
    PriceSeries series;
    ASSERT_FALSE(loadDataFile(series, QFileInfo(QStringLiteral(NIMBREL_SAMPLE)).path(),
                              QStringLiteral("sample.txt"), QStringLiteral("sheet1")));
    computeIchimoku(series);
    for (const auto& window : windows) {
        ViewState view;
        view.maxLength = static_cast<int16_t>(window.days);
        view.spanBack = window.spanBack;
        view.reduceX = window.reduceX;
        view.reduceY = window.reduceY;
        showNewestDays(series, view);
        QImage image = chartImage(window.size, window.ratio);
        {
            ImageSurface surface(image);
            drawChart(surface, series, view, kScreenProfile);
        }
        expectPixelHash(image, window.pixelHash,
                        QStringLiteral("window ratio %1 days %2 reduced %3x%4 at %5x%6")
                            .arg(window.ratio)
                            .arg(window.days)
                            .arg(window.reduceX)
                            .arg(window.reduceY)
                            .arg(window.size.width())
                            .arg(window.size.height()));
    }
}

} // namespace nimbrel
