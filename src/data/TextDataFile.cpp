#include "data/TextDataFile.h"

#include "data/DateForms.h"
#include "data/LoadFailures.h"
#include "data/TextForms.h"
#include "data/TextLines.h"
#include "system/TextDecoding.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace nimbrel {

namespace {

// Splits a day line at runs of blanks and TABs. Counts at most six fields: only the first five
// are read, and a sixth or later one is ignored.
int splitFields(std::string_view line, std::array<std::string_view, 5>& fields) {
    int count = 0;
    size_t pos = 0;
    while (count < 6) {
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        if (pos == line.size()) break;
        size_t end = pos;
        while (end < line.size() && !isBlank(line[end])) ++end;
        if (count < 5) fields[static_cast<size_t>(count)] = line.substr(pos, end - pos);
        ++count;
        pos = end;
    }
    return count;
}

bool isAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// One day line; false when it cannot be read.
bool readDay(std::string_view line, FileEncoding encoding, PriceRow& row,
             int16_t& priceFieldCount) {
    // Day lines are ASCII; one that is not may hold its numbers in wide characters.
    std::string ascii;
    if (!isAscii(line)) {
        ascii = asciiNumberForms(decodeLine(line, encoding).toStdString());
        line = ascii;
    }
    std::array<std::string_view, 5> fields;
    int count = splitFields(line, fields);
    if (count != 2 && count < 5) return false;
    std::optional<Fixed4> date = textLineDate(fields[0]);
    std::optional<Fixed4> open = Fixed4::fromText(fields[1]);
    if (!date || !open) return false;
    row.date = *date;
    row.open = *open;
    if (count == 2) {
        row.high = row.low = row.close = *open;
        priceFieldCount = 1;
        return true;
    }
    std::optional<Fixed4> high = Fixed4::fromText(fields[2]);
    std::optional<Fixed4> low = Fixed4::fromText(fields[3]);
    std::optional<Fixed4> close = Fixed4::fromText(fields[4]);
    if (!high || !low || !close) return false;
    row.high = *high;
    row.low = *low;
    row.close = *close;
    priceFieldCount = 4;
    return true;
}

} // namespace

bool TextExtent::scan(std::string_view bytes) {
    for (size_t at = scanned_; at < bytes.size(); ++at) {
        const char c = bytes[at];
        if (c == '\x1A') {
            end_ = at;
            how_ = TextEnd::Whole;
            return true;
        }
        if (c == '\r' || (c == '\n' && !afterCr_)) {
            ++linesEnded_;
            lineHasText_ = false;
        } else if (c != '\n' && !lineHasText_ && !isBlank(c) && linesEnded_ >= 2) {
            lineHasText_ = true;
            if (++dayLines_ > kMaxDays && stop_ == Stop::AfterTheDays) {
                end_ = at + 1; // enough of the line for the load to see a day there
                how_ = TextEnd::Stopped;
                return true;
            }
        }
        afterCr_ = c == '\r';
    }
    scanned_ = bytes.size();
    return false;
}

std::optional<LoadFailure> loadTextData(PriceSeries& series, std::string_view bytes, TextEnd end) {
    clearSeries(series);
    if (const size_t dosEnd = bytes.find('\x1A'); dosEnd != std::string_view::npos)
        bytes = bytes.substr(0, dosEnd);
    // A text read only in part ends in a line begun but not read to its end: it is never read
    // as a line, and the encoding is told from the lines before it.
    if (end != TextEnd::Whole) {
        const size_t lastEnd = bytes.find_last_of("\r\n");
        bytes = bytes.substr(0, lastEnd == std::string_view::npos ? 0 : lastEnd + 1);
    }
    const FileEncoding encoding = fileEncoding(bytes);
    LineReader lines(withoutByteOrderMark(bytes));
    std::string_view line;
    int64_t lineNumber = 0;
    int days = 0;
    std::optional<LoadFailure> failure;
    while (lines.next(line)) {
        ++lineNumber;
        if (lineNumber <= 2) {
            (lineNumber == 1 ? series.titleLine1 : series.titleLine2) =
                decodeLine(withoutTrailingBlanks(line), encoding);
            continue;
        }
        if (withoutTrailingBlanks(line).empty()) continue;
        if (days == kMaxDays) {
            failure = tooManyDaysFailure();
            break;
        }
        PriceRow row;
        int16_t fieldCount = series.priceFieldCount;
        if (!readDay(line, encoding, row, fieldCount)) {
            failure = unreadableDayFailure(lineNumber, days);
            break;
        }
        ++days;
        storeDay(series, days, row);
        series.priceFieldCount = fieldCount;
    }
    if (!failure && end == TextEnd::Stopped) failure = tooManyDaysFailure();
    if (!failure && end == TextEnd::Cut) failure = unreadableDayFailure(lineNumber + 1, days);
    series.dataCount = days;
    return failure;
}

} // namespace nimbrel
