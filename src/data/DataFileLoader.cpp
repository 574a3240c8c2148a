#include "data/DataFileLoader.h"

#include "data/DelimitedTextFile.h"
#include "data/LoadFailures.h"
#include "data/SheetDataFile.h"
#include "data/TextDataFile.h"
#include "system/FileAccess.h"
#include "system/TextDecoding.h"
#include "workbook/WorkbookProcess.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace nimbrel {

namespace {

// Enough of the file's start to tell what it holds.
constexpr size_t kStartBytes = 4096;

// What a file holds, told from its first bytes whatever its name.
enum class FileKind { Workbook, Text, Binary };

FileKind kindOf(std::string_view start) {
    static constexpr std::string_view kCompoundFile = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    static constexpr std::string_view kZip = "PK\x03\x04";
    if (start.starts_with(kCompoundFile) || start.starts_with(kZip)) return FileKind::Workbook;
    // Text saved as UTF-16 is full of zero bytes; any other text has none.
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) return FileKind::Text;
    return start.find('\0') == std::string_view::npos ? FileKind::Text : FileKind::Binary;
}

// Plain reads into memory, never a mapping: a file that a download job rewrites during the load
// then gives changed bytes, not a crash. Reading stops where the load stops using the text.
std::optional<LoadFailure> loadTextFile(PriceSeries& series, int fd, std::string bytes,
                                        const QString& path) {
    struct stat status;
    const size_t expected =
        fstat(fd, &status) == 0 && status.st_size > 0 ? static_cast<size_t>(status.st_size) : 0;
    // A UTF-16 text is turned into UTF-8 whole, and only then followed line by line.
    const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    const size_t limit = utf16 ? 2 * kMaxTextBytes : kMaxTextBytes;
    TextExtent extent(delimitedHeader(bytes) ? TextExtent::Stop::AtTheEnd
                                             : TextExtent::Stop::AfterTheDays);
    constexpr size_t kChunk = size_t(1) << 18;
    bytes.reserve(std::min(expected, limit) + 1);
    bool ended = !utf16 && extent.scan(bytes);
    while (!ended && bytes.size() <= limit) {
        const size_t had = bytes.size();
        // The buffer keeps its place while the file is as large as it was: the last chunk is
        // no more than the room left, a byte beyond the file's size, which finds its end.
        const size_t room = bytes.capacity() - had;
        const size_t chunk = room > 0 ? std::min(kChunk, room) : kChunk;
        bytes.resize(had + chunk);
        const ssize_t got = read(fd, bytes.data() + had, chunk);
        if (got < 0 && errno == EINTR) {
            bytes.resize(had);
            continue;
        }
        if (got < 0) return cannotOpenFailure(path);
        bytes.resize(had + static_cast<size_t>(got));
        if (got == 0) break;
        ended = !utf16 && extent.scan(bytes);
    }
    // Past the limit, more of the file is left than a load reads.
    const bool cut = bytes.size() > limit;
    std::optional<DelimitedHeader> header;
    if (utf16) {
        bytes = *utf16AsUtf8(std::string_view(bytes).substr(0, limit));
        header = delimitedHeader(bytes);
        extent = TextExtent(header ? TextExtent::Stop::AtTheEnd : TextExtent::Stop::AfterTheDays);
        ended = extent.scan(bytes);
    } else {
        header = delimitedHeader(bytes);
    }
    TextEnd end = TextEnd::Whole;
    if (ended) {
        bytes.resize(extent.end());
        end = extent.how();
    } else if (cut || bytes.size() > kMaxTextBytes) {
        bytes.resize(std::min(bytes.size(), kMaxTextBytes));
        end = TextEnd::Cut;
    }
    if (header)
        return loadDelimitedText(series, bytes, end, *header, QFileInfo(path).completeBaseName());
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

    const FileDescriptor file = openRegularFile(encodeFileName(path));
    if (!file.isOpen()) return cannotOpenFailure(path);
    std::string start(kStartBytes, '\0');
    const ssize_t got = pread(file.get(), start.data(), start.size(), 0);
    if (got < 0) return cannotOpenFailure(path);
    start.resize(static_cast<size_t>(got));
    std::optional<LoadFailure> failure;
    switch (kindOf(start)) {
    case FileKind::Workbook:
        failure = loadSheetFile(series, file.get(), path, sheetName);
        break;
    case FileKind::Binary:
        return cannotReadFailure(path);
    case FileKind::Text:
        if (lseek(file.get(), static_cast<off_t>(start.size()), SEEK_SET) < 0)
            return cannotOpenFailure(path);
        failure = loadTextFile(series, file.get(), std::move(start), path);
        break;
    }
    if (!failure && series.dataCount == 0) return noDataFailure(path);
    return failure;
}

QStringList workbookSheetNames(const QString& path) {
    const FileDescriptor file = openRegularFile(encodeFileName(path));
    if (!file.isOpen()) return {};
    std::string start(kStartBytes, '\0');
    const ssize_t got = pread(file.get(), start.data(), start.size(), 0);
    if (got <= 0) return {};
    start.resize(static_cast<size_t>(got));
    if (kindOf(start) != FileKind::Workbook) return {};
    return worksheetNames(file.get());
}

} // namespace nimbrel
