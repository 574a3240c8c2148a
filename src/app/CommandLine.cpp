#include "app/CommandLine.h"

#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "data/CsvExport.h"
#include "data/DataFileLoader.h"
#include "ichimoku/Ichimoku.h"
#include "platform/ImageSurface.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

#include <array>
#include <memory>

namespace {

constexpr char kUsage[] =
    "使い方: nimbrel [FILE] | nimbrel --export-csv OUT [--sheet NAME] FILE | nimbrel --render "
    "OUT.png [--size WxH] [--days N] [--log] [--lagging forward|back|both|none] [--sheet NAME] "
    "FILE\n";

enum class Job { None, ExportCsv, Render };

struct Request {
    Job job = Job::None;
    QString output;
    QString sheet = QStringLiteral("sheet1");
    QString file;
    bool renderOptions = false; // options that only a render takes
    QSize size{1280, 800};
    int days = 120;
    bool logY = false;
    bool spanForward = true;
    bool spanBack = false;
};

bool parseSize(const QString& text, QSize& size) {
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2) return false;
    bool okWidth = false, okHeight = false;
    const int width = parts[0].toInt(&okWidth), height = parts[1].toInt(&okHeight);
    if (!okWidth || !okHeight || width < 1 || height < 1 || width > 16384 || height > 16384)
        return false;
    size = QSize(width, height);
    return true;
}

bool parseLagging(const QString& text, Request& request) {
    static const struct {
        const char* name;
        bool forward, back;
    } kPlacements[] = {{"forward", true, false},
                       {"back", false, true},
                       {"both", true, true},
                       {"none", false, false}};
    for (const auto& placement : kPlacements) {
        if (text == QLatin1String(placement.name)) {
            request.spanForward = placement.forward;
            request.spanBack = placement.back;
            return true;
        }
    }
    return false;
}

bool parse(const QStringList& arguments, Request& request) {
    bool haveFile = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        const QString value = hasValue ? arguments[i + 1] : QString();
        if ((argument == QLatin1String("--export-csv") || argument == QLatin1String("--render")) &&
            hasValue && request.job == Job::None) {
            request.job = argument == QLatin1String("--render") ? Job::Render : Job::ExportCsv;
            request.output = value;
            ++i;
        } else if (argument == QLatin1String("--sheet") && hasValue && !value.isEmpty()) {
            request.sheet = value;
            ++i;
        } else if (argument == QLatin1String("--size") && hasValue) {
            if (!parseSize(value, request.size)) return false;
            request.renderOptions = true;
            ++i;
        } else if (argument == QLatin1String("--days") && hasValue) {
            bool ok = false;
            request.days = value.toInt(&ok);
            if (!ok || request.days < 1 || request.days > kMaxDays) return false;
            request.renderOptions = true;
            ++i;
        } else if (argument == QLatin1String("--log")) {
            request.logY = true;
            request.renderOptions = true;
        } else if (argument == QLatin1String("--lagging") && hasValue) {
            if (!parseLagging(value, request)) return false;
            request.renderOptions = true;
            ++i;
        } else if ((!argument.startsWith(QLatin1String("--")) || argument == QLatin1String("-")) &&
                   !argument.isEmpty() && !haveFile) {
            request.file = argument;
            haveFile = true;
        } else {
            return false;
        }
    }
    if (request.job == Job::ExportCsv && request.renderOptions) return false;
    return request.job != Job::None && haveFile;
}

// The chart has a handful of exact colours: as a palette image its PNG is a third of the size
// and encodes several times faster. An image with more colours than a palette holds stays as it
// is.
QImage paletteImage(const QImage& image) {
    QImage indexed(image.size(), QImage::Format_Indexed8);
    std::array<QRgb, 256> palette;
    int colours = 0;
    // Most pixels continue the run of the one before: the last colour is tried first, then a
    // look along the dozen colours at most. No pixel of an opaque image is 0.
    QRgb last = 0;
    uchar lastIndex = 0;
    const int width = image.width(), height = image.height();
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* to = indexed.scanLine(y);
        for (int x = 0; x < width; ++x) {
            if (from[x] != last) {
                int index = 0;
                while (index < colours && palette[size_t(index)] != from[x]) ++index;
                if (index == colours) {
                    if (colours == 256) return image;
                    palette[size_t(colours++)] = from[x];
                }
                last = from[x];
                lastIndex = static_cast<uchar>(index);
            }
            to[x] = lastIndex;
        }
    }
    indexed.setColorTable(QList<QRgb>(palette.begin(), palette.begin() + colours));
    return indexed;
}

std::string messageLine(const Message& message) {
    return (message.title + QStringLiteral(": ") + message.text).toStdString() + "\n";
}

std::string cannotWrite(const QString& path) {
    return messageLine(Message{QStringLiteral("エラー"),
                               QStringLiteral("ファイルに書き込めません\n") + path,
                               MessageIcon::Exclamation});
}

// Loads the file as the window's open sequence does and computes its lines.
std::unique_ptr<PriceSeries> loadSeries(const Request& request, CommandResult& result) {
    auto series = std::make_unique<PriceSeries>();
    const QFileInfo file(request.file);
    const std::optional<LoadFailure> failure =
        loadDataFile(*series, file.path(), file.fileName(), request.sheet + QLatin1Char('$'));
    if (failure) {
        result.exitCode = 1;
        result.standardError = messageLine(failure->message);
    }
    computeIchimoku(*series);
    return series;
}

void exportCsv(const Request& request, CommandResult& result) {
    const auto series = loadSeries(request, result);
    std::string table = csvTable(*series);
    if (request.output == QLatin1String("-")) {
        result.standardOutput = std::move(table);
        return;
    }
    QFile out(request.output);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(table.data(), static_cast<qint64>(table.size())) !=
            static_cast<qint64>(table.size()) ||
        !out.flush()) {
        result.exitCode = 1;
        result.standardError += cannotWrite(request.output);
    }
}

void render(const Request& request, CommandResult& result) {
    const auto series = loadSeries(request, result);
    ViewState view;
    view.maxLength = static_cast<int16_t>(request.days);
    view.logY = request.logY;
    view.spanForward = request.spanForward;
    view.spanBack = request.spanBack;
    showNewestDays(*series, view);

    QImage image = chartImage(request.size);
    {
        ImageSurface surface(image);
        drawChart(surface, *series, view, kScreenProfile);
    }
    QImageWriter writer(request.output, "png");
    // The chart is a few flat colours: light compression is nearly as small and much faster.
    writer.setCompression(1);
    if (!writer.write(paletteImage(image))) {
        result.exitCode = 1;
        result.standardError += cannotWrite(request.output);
    }
}

} // namespace

bool isRenderCommand(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--render"));
}

CommandResult runCommandLine(const QStringList& arguments) {
    CommandResult result;
    Request request;
    if (!parse(arguments, request)) {
        result.exitCode = 2;
        result.standardError = kUsage;
        return result;
    }
    if (request.job == Job::Render)
        render(request, result);
    else
        exportCsv(request, result);
    return result;
}
