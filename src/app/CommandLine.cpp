#include "app/CommandLine.h"

#include "chart/ChartPainter.h"
#include "chart/ViewOperations.h"
#include "data/CsvExport.h"
#include "data/DataFileLoader.h"
#include "ichimoku/Ichimoku.h"
#include "system/FileAccess.h"
#include "render/ImageSurface.h"
#include "ui/QtPrinter.h"
#include "system/OutputFile.h"
#include "print/PrintDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPrinter>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace nimbrel {

namespace {

constexpr char kUsage[] =
    "使い方: nimbrel [FILE] | nimbrel --export-csv OUT [--sheet NAME] FILE | nimbrel --render "
    "OUT.png [--size WxH] [--days N] [--log] [--lagging forward|back|both|none] [--sheet NAME] "
    "FILE | nimbrel --print-pdf OUT.pdf [--paper A4|B5|Letter|...] [--landscape] [--days N] "
    "[--log] [--lagging forward|back|both|none] [--sheet NAME] FILE [--lower FILE2]\n";

enum class Job { None, ExportCsv, Render, PrintPdf };

struct Request {
    Job job = Job::None;
    QString output;
    QString sheet = QStringLiteral("sheet1");
    QString file;
    bool renderOptions = false; // options of the chart, for a render or a print
    bool sizeOption = false;    // only a render takes a size
    bool pageOptions = false;   // only a print takes the paper and a second file
    QSize size{1280, 800};
    int days = 120;
    bool logY = false;
    bool spanForward = true;
    bool spanBack = false;
    QPageSize paper{QPageSize::A4};
    bool landscape = false;
    QString lowerFile; // the chart of the sheet's lower half; the first file takes the upper
};

// A paper by its usual name: A4, B5, Letter, Legal, A3 ...
bool parsePaper(const QString& text, QPageSize& paper) {
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto size = static_cast<QPageSize::PageSizeId>(id);
        if (size != QPageSize::Custom &&
            QPageSize::key(size).compare(text, Qt::CaseInsensitive) == 0) {
            paper = QPageSize(size);
            return true;
        }
    }
    return false;
}

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
        if ((argument == QLatin1String("--export-csv") || argument == QLatin1String("--render") ||
             argument == QLatin1String("--print-pdf")) &&
            hasValue && request.job == Job::None) {
            request.job = argument == QLatin1String("--render")      ? Job::Render
                          : argument == QLatin1String("--print-pdf") ? Job::PrintPdf
                                                                     : Job::ExportCsv;
            request.output = value;
            ++i;
        } else if (argument == QLatin1String("--sheet") && hasValue && !value.isEmpty()) {
            request.sheet = value;
            ++i;
        } else if (argument == QLatin1String("--size") && hasValue) {
            if (!parseSize(value, request.size)) return false;
            request.renderOptions = request.sizeOption = true;
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
        } else if (argument == QLatin1String("--paper") && hasValue) {
            if (!parsePaper(value, request.paper)) return false;
            request.pageOptions = true;
            ++i;
        } else if (argument == QLatin1String("--landscape")) {
            request.landscape = request.pageOptions = true;
        } else if (argument == QLatin1String("--lower") && hasValue && !value.isEmpty() &&
                   request.lowerFile.isEmpty()) {
            request.lowerFile = value;
            request.pageOptions = true;
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
    if (request.job == Job::PrintPdf ? request.sizeOption : request.pageOptions) return false;
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
std::unique_ptr<PriceSeries> loadSeries(const Request& request, CommandResult& result,
                                        std::optional<LoadProblem>* problem = nullptr) {
    auto series = std::make_unique<PriceSeries>();
    const QFileInfo file(request.file);
    const std::optional<LoadFailure> failure =
        loadDataFile(*series, file.path(), file.fileName(), request.sheet);
    if (failure) {
        result.exitCode = 1;
        result.standardError = messageLine(failure->message);
        if (problem) *problem = failure->problem;
    }
    computeIchimoku(*series);
    return series;
}

// OUT and FILE are the same file, by another name or a link: exporting would overwrite the data.
bool sameFile(const QString& a, const QString& b) {
    struct stat first, second;
    return stat(encodeFileName(a).constData(), &first) == 0 &&
           stat(encodeFileName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

void exportCsv(const Request& request, CommandResult& result) {
    std::optional<LoadProblem> problem;
    const auto series = loadSeries(request, result, &problem);
    // Nothing could be read: OUT keeps what it held.
    if (problem == LoadProblem::CannotOpen || problem == LoadProblem::CannotRead) return;
    std::string table = csvTable(*series);
    if (request.output == QLatin1String("-")) {
        result.standardOutput = std::move(table);
        return;
    }
    if (!writeWholeFile(encodeFileName(request.output), table)) {
        result.exitCode = 1;
        result.standardError += cannotWrite(request.output);
    }
}

// The newest days of the series, drawn as the options say.
ViewState requestedView(const Request& request, const PriceSeries& series) {
    ViewState view;
    view.maxLength = static_cast<int16_t>(request.days);
    view.logY = request.logY;
    view.spanForward = request.spanForward;
    view.spanBack = request.spanBack;
    showNewestDays(series, view);
    return view;
}

void render(const Request& request, CommandResult& result) {
    const auto series = loadSeries(request, result);
    ViewState view = requestedView(request, *series);

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

// The whole sheet of the file, or its upper half and the lower half of the second file, through
// the page pass of the window's print commands.
void printPdf(const Request& request, CommandResult& result) {
    const auto series = loadSeries(request, result);
    std::unique_ptr<PriceSeries> lower;
    if (!request.lowerFile.isEmpty()) {
        Request second = request;
        second.file = request.lowerFile;
        CommandResult loaded;
        lower = loadSeries(second, loaded);
        result.exitCode = std::max(result.exitCode, loaded.exitCode);
        result.standardError += loaded.standardError;
    }

    QtPrinter printer;
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setPageSize(request.paper);
    printer.printer().setPageOrientation(request.landscape ? QPageLayout::Landscape
                                                           : QPageLayout::Portrait);
    printer.setFileName(request.output);
    PrintDocument document(printer);
    ViewState view = requestedView(request, *series);
    PrintResult printed;
    if (lower) {
        printed = document.printChart(*series, view, SheetPart::UpperHalf);
        ViewState lowerView = requestedView(request, *lower);
        if (!printed.failure)
            printed = document.printChart(*lower, lowerView, SheetPart::LowerHalf);
    } else {
        printed = document.printChart(*series, view, SheetPart::Whole);
    }
    // An upper half whose lower file had no data still comes out; with no data at all nothing is
    // written.
    if (!printed.failure) printed.failure = document.end();
    if (printed.failure) {
        result.exitCode = 1;
        result.standardError += messageLine(*printed.failure);
    }
}

} // namespace

std::string usageText() {
    return kUsage;
}

bool isRenderCommand(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--render")) ||
           arguments.contains(QStringLiteral("--print-pdf"));
}

CommandResult runCommandLine(const QStringList& arguments) {
    CommandResult result;
    Request request;
    if (!parse(arguments, request) ||
        (request.job == Job::ExportCsv && request.output != QLatin1String("-") &&
         sameFile(request.output, request.file))) {
        result.exitCode = 2;
        result.standardError = kUsage;
        return result;
    }
    if (request.job == Job::Render)
        render(request, result);
    else if (request.job == Job::PrintPdf)
        printPdf(request, result);
    else
        exportCsv(request, result);
    return result;
}

int writeCommandOutput(const CommandResult& result, std::FILE* out, std::FILE* err) {
    int exitCode = result.exitCode;
    std::string errors = result.standardError;
    const std::string& table = result.standardOutput;
    if (!table.empty() && (std::fwrite(table.data(), 1, table.size(), out) != table.size() ||
                           std::fflush(out) != 0)) {
        exitCode = std::max(exitCode, 1);
        errors += cannotWrite(QStringLiteral("-"));
    }
    std::fwrite(errors.data(), 1, errors.size(), err);
    std::fflush(err);
    return exitCode;
}

} // namespace nimbrel
