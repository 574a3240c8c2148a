#include "print/PrintCommand.h"

#include "command/CommandSteps.h"
#include "print/PdfPrinter.h"
#include "print/PrintDocument.h"

#include <QPageLayout>
#include <QPageSize>

namespace nimbrel {

namespace {

// A printed sheet's margins, those the platform's printer starts from.
constexpr double kPageMarginPoints = 10;
// The page is drawn at the resolution of a high-resolution printer.
constexpr int kPageResolution = 1200;

// A paper by its usual name, A4 when none is given: A4, B5, Letter, Legal, A3 ... B5 is JIS
// B5, as Japanese printers and paper call it; ISOB5 is the ISO size.
std::optional<QPageSize> paperNamed(const QString& name) {
    if (name.isEmpty()) return QPageSize(QPageSize::A4);
    if (name.compare(QLatin1String("B5"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::JisB5);
    if (name.compare(QLatin1String("ISOB5"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::B5);
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto size = static_cast<QPageSize::PageSizeId>(id);
        if (size != QPageSize::Custom &&
            QPageSize::key(size).compare(name, Qt::CaseInsensitive) == 0)
            return QPageSize(size);
    }
    return std::nullopt;
}

} // namespace

// The whole sheet of the file, or its upper half and the lower half of the second file, through
// the page pass of the window's print commands.
void printPdf(const Request& request, CommandResult& result) {
    const std::optional<QPageSize> paper = paperNamed(request.paper);
    if (!paper) {
        reportWrongCommand(result);
        return;
    }
    LoadedFile upper = loadFile(request.file, request, result);
    std::optional<LoadedFile> lower;
    if (!request.lowerFile.isEmpty()) lower = loadFile(request.lowerFile, request, result);
    if (upper.days->dataCount == 0 && (!lower || lower->days->dataCount == 0)) return;
    ViewState view = requestedView(request, upper.bars());
    if (upper.days->dataCount > 0 && !analyseInto(request, upper, view, result)) return;

    const QPageLayout page(
        *paper, request.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
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
    if (printed.failure) reportProblem(*printed.failure, result);
}

} // namespace nimbrel
