#include "data/DataFileLoader.h"

#include "data/LoadFailures.h"
#include "data/SheetDataFile.h"
#include "data/TextDataFile.h"
#include "system/FileAccess.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace nimbrel {

namespace {

// Plain reads into memory, never a mapping: a file that a download job rewrites during the load
// then gives changed bytes, not a crash. Reading stops where the load stops using the text.
std::optional<LoadFailure> loadTextFile(PriceSeries& series, const QString& path) {
    const FileDescriptor fd = openRegularFile(encodeFileName(path));
    if (!fd.isOpen()) return cannotOpenFailure(path);
    struct stat status;
    const size_t expected = fstat(fd.get(), &status) == 0 && status.st_size > 0
                                ? static_cast<size_t>(status.st_size)
                                : 0;
    constexpr size_t kChunk = size_t(1) << 18;
    std::string bytes;
    bytes.reserve(std::min(expected, kMaxTextBytes) + 1);
    TextExtent extent;
    TextEnd end = TextEnd::Whole;
    for (;;) {
        const size_t had = bytes.size();
        bytes.resize(had + kChunk);
        const ssize_t got = read(fd.get(), bytes.data() + had, kChunk);
        if (got < 0 && errno == EINTR) {
            bytes.resize(had);
            continue;
        }
        if (got < 0) {
            clearSeries(series);
            return cannotOpenFailure(path);
        }
        bytes.resize(had + static_cast<size_t>(got));
        if (got == 0) break;
        if (extent.scan(bytes)) {
            bytes.resize(extent.end());
            end = extent.how();
            break;
        }
        if (bytes.size() > kMaxTextBytes) {
            bytes.resize(kMaxTextBytes);
            end = TextEnd::Cut;
            break;
        }
    }
    return loadTextData(series, bytes, end);
}

} // namespace

void clearSeries(PriceSeries& series) {
    series.priceTable.fill(PriceRow{});
    series.ichimokuTable.fill(IchimokuRow{});
    series.dataCount = 0;
    series.titleLine1.clear();
    series.titleLine2.clear();
    series.priceFieldCount = 0;
}

void storeDay(PriceSeries& series, int day, const PriceRow& row) {
    if (day >= 1 && day <= kMaxDays) series.priceTable[static_cast<size_t>(day)] = row;
}

std::optional<LoadFailure> loadDataFile(PriceSeries& series, const QString& directory,
                                        const QString& fileName, const QString& sheetName) {
    clearSeries(series);
    QString folder = directory;
    if (folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    const QString path = folder + QLatin1Char('/') + fileName;

    const QString lower = fileName.toLower();
    if (lower.endsWith(QLatin1String(".xls")) || lower.endsWith(QLatin1String(".xlsx")) ||
        lower.endsWith(QLatin1String(".xlsm")))
        return loadSheetFile(series, path, sheetName);
    return loadTextFile(series, path);
}

} // namespace nimbrel
