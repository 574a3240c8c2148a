#include "app/CommandLine.h"

#include "app/CommandAnalysis.h"
#include "app/CommandArguments.h"
#include "analysis/Bars.h"
#include "chart/ChartPainter.h"
#include "chart/ChartTexts.h"
#include "chart/ViewOperations.h"
#include "data/CsvExport.h"
#include "data/DataFileLoader.h"
#include "ichimoku/Ichimoku.h"
#include "print/PdfPrinter.h"
#include "print/PrintDocument.h"
#include "picture/ChartFace.h"
#include "picture/PictureSurface.h"
#include "system/FileAccess.h"
#include "system/OutputFile.h"

#include <QFileInfo>
#include <QPageLayout>

#include <algorithm>
#include <memory>
#include <sys/stat.h>

namespace nimbrel {

namespace {

// A printed sheet's margins, those the platform's printer starts from.
constexpr double kPageMarginPoints = 10;
// The page is drawn at the resolution of a high-resolution printer.
constexpr int kPageResolution = 1200;

std::string messageLine(const Message& message) {
    return (message.title + QStringLiteral(": ") + message.text).toStdString() + "\n";
}

std::string cannotWrite(const QString& path) {
    return messageLine(Message{QStringLiteral("エラー"),
                               QStringLiteral("ファイルに書き込めません\n") + path,
                               MessageIcon::Exclamation});
}

// Two names of the same file, by another name or a link.
bool sameFile(const QString& a, const QString& b) {
    struct stat first, second;
    return stat(encodeFileName(a).constData(), &first) == 0 &&
           stat(encodeFileName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// Writing OUT would destroy a data file the command reads.
bool outputNamesAnInput(const Request& request) {
    if (request.job == Job::ExportCsv && request.output == QLatin1String("-")) return false;
    return sameFile(request.output, request.file) ||
           (!request.lowerFile.isEmpty() && sameFile(request.output, request.lowerFile));
}

// A file loaded as the window's open sequence does: its days, and the bars the chart shows
// (the days themselves, for daily bars), their lines computed.
struct LoadedFile {
    std::unique_ptr<PriceSeries> days;
    std::unique_ptr<PriceSeries> weeksOrMonths;
    PriceSeries& bars() { return weeksOrMonths ? *weeksOrMonths : *days; }
};

// A problem with the file is reported and makes the exit status 1.
LoadedFile loadFile(const QString& path, const Request& request, CommandResult& result) {
    LoadedFile loaded{std::make_unique<PriceSeries>(), nullptr};
    const QFileInfo file(path);
    if (const std::optional<LoadFailure> failure =
            loadDataFile(*loaded.days, file.path(), file.fileName(), request.sheet)) {
        result.exitCode = 1;
        result.standardError += messageLine(failure->message);
    }
    if (request.bars != BarPeriod::Daily) {
        loaded.weeksOrMonths = std::make_unique<PriceSeries>();
        makeBars(*loaded.days, request.bars, *loaded.weeksOrMonths);
    }
    computeIchimoku(loaded.bars());
    return loaded;
}

// The analysis the request asks for on the file's bars: its marks go on the chart, its lines
// to standard output. False for a date the file has no day of: the command is wrong.
bool analyseInto(const Request& request, LoadedFile& file, ViewState& view, CommandResult& result) {
    if (!request.analyses()) return true;
    const CommandAnalysis found = analyse(request, *file.days, file.bars(), view.decimalsUnit);
    if (found.missingDate) {
        result.exitCode = 2;
        result.standardError +=
            messageLine(Message{QStringLiteral("エラー"),
                                dateText(*found.missingDate) + QStringLiteral(" の日がありません"),
                                MessageIcon::Exclamation});
        return false;
    }
    view.marks = found.marks;
    result.standardOutput += found.lines;
    return true;
}

// Writes OUT whole; a failure is reported.
void writeOutput(const Request& request, std::string_view bytes, CommandResult& result) {
    if (bytes.empty() || !writeWholeFile(encodeFileName(request.output), bytes)) {
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
    view.bars = request.bars;
    showNewestDays(series, view);
    return view;
}

// OUT is written only from a load that gave days: otherwise it keeps what it held.
void exportCsv(const Request& request, CommandResult& result) {
    LoadedFile file = loadFile(request.file, request, result);
    if (file.days->dataCount == 0) return;
    ViewState view = requestedView(request, file.bars());
    if (!analyseInto(request, file, view, result)) return;
    std::string table = csvTable(file.bars());
    if (request.output == QLatin1String("-"))
        result.standardOutput = std::move(table);
    else
        writeOutput(request, table, result);
}

// The picture the window of that size would show, drawn on a white background.
void render(const Request& request, CommandResult& result) {
    Message problem;
    GlyphFace* face = chartFace(problem);
    if (!face) {
        result.exitCode = 1;
        result.standardError += messageLine(problem);
        return;
    }
    LoadedFile file = loadFile(request.file, request, result);
    if (file.days->dataCount == 0) return;
    ViewState view = requestedView(request, file.bars());
    if (!analyseInto(request, file, view, result)) return;
    PalettePicture picture(request.size.width(), request.size.height(), Rgb{255, 255, 255});
    {
        PictureSurface surface(picture, *face);
        drawChart(surface, file.bars(), view, kScreenProfile);
    }
    writeOutput(request, picture.png(), result);
}

// The whole sheet of the file, or its upper half and the lower half of the second file, through
// the page pass of the window's print commands.
void printPdf(const Request& request, CommandResult& result) {
    LoadedFile upper = loadFile(request.file, request, result);
    std::optional<LoadedFile> lower;
    if (!request.lowerFile.isEmpty()) lower = loadFile(request.lowerFile, request, result);
    if (upper.days->dataCount == 0 && (!lower || lower->days->dataCount == 0)) return;
    ViewState view = requestedView(request, upper.bars());
    if (upper.days->dataCount > 0 && !analyseInto(request, upper, view, result)) return;

    const QPageLayout page(
        request.paper, request.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(kPageMarginPoints, kPageMarginPoints, kPageMarginPoints, kPageMarginPoints),
        QPageLayout::Point);
    PdfPrinter printer(page, kPageResolution);
    printer.setFileName(request.output);
    PrintDocument document(printer);
    PrintResult printed;
    if (lower) {
        printed = document.printChart(upper.bars(), view, SheetPart::UpperHalf);
        ViewState lowerView = requestedView(request, lower->bars());
        if (!printed.failure)
            printed = document.printChart(lower->bars(), lowerView, SheetPart::LowerHalf);
    } else {
        printed = document.printChart(upper.bars(), view, SheetPart::Whole);
    }
    // An upper half whose lower file had no data still comes out.
    if (!printed.failure) printed.failure = document.end();
    if (printed.failure) {
        result.exitCode = 1;
        result.standardError += messageLine(*printed.failure);
    }
}

} // namespace

bool isRenderCommand(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--render")) ||
           arguments.contains(QStringLiteral("--print-pdf"));
}

CommandResult runCommandLine(const QStringList& arguments) {
    CommandResult result;
    const std::optional<Request> request = parseArguments(arguments);
    if (!request || outputNamesAnInput(*request)) {
        result.exitCode = 2;
        result.standardError = usageText();
        return result;
    }
    switch (request->job) {
    case Job::ExportCsv:
        exportCsv(*request, result);
        break;
    case Job::Render:
        render(*request, result);
        break;
    case Job::PrintPdf:
        printPdf(*request, result);
        break;
    }
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
