#include "data/DelimitedTextFile.h"

#include "data/LoadFailures.h"
#include "data/TextForms.h"
#include "data/TextLines.h"
#include "system/TextDecoding.h"

#include <array>
#include <string>
#include <vector>

namespace nimbrel {

namespace {

bool isAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// The fields of a line as RFC 4180 quotes them: a quoted field may hold the separator, and a
// doubled quote stands for one. Blanks around a field are dropped. `fields` is reused.
void splitFields(std::string_view line, char separator, std::vector<std::string>& fields) {
    fields.clear();
    std::string field;
    bool quoted = false, wasQuoted = false;
    for (size_t at = 0; at <= line.size(); ++at) {
        const char c = at < line.size() ? line[at] : separator;
        if (quoted) {
            if (c == '"' && at + 1 < line.size() && line[at + 1] == '"') {
                field.push_back('"');
                ++at;
            } else if (c == '"') {
                quoted = false;
            } else if (at < line.size()) {
                field.push_back(c);
            } else {
                fields.push_back(field); // a quote left open ends with the line
            }
        } else if (c == separator) {
            fields.push_back(wasQuoted ? field : std::string(withoutTrailingBlanks(field)));
            field.clear();
            wasQuoted = false;
        } else if (c == '"' && !wasQuoted && withoutTrailingBlanks(field).empty()) {
            field.clear();
            quoted = wasQuoted = true;
        } else if (!(isBlank(c) && field.empty())) {
            field.push_back(c);
        }
    }
}

// The line as UTF-8, its wide digits and signs as ASCII.
std::string_view asciiLine(std::string_view line, FileEncoding encoding, std::string& kept) {
    if (isAscii(line)) return line;
    kept = asciiNumberForms(decodeLine(line, encoding).toStdString());
    return kept;
}

} // namespace

std::optional<DelimitedHeader> delimitedHeader(std::string_view text) {
    const FileEncoding encoding = fileEncoding(text);
    LineReader lines(withoutByteOrderMark(text));
    std::string_view first;
    if (!lines.next(first)) return std::nullopt;
    const std::string line = decodeLine(first, encoding).toStdString();
    std::vector<std::string> names;
    for (const char separator : {',', '\t', ';'}) {
        if (line.find(separator) == std::string::npos) continue;
        splitFields(line, separator, names);
        if (const std::optional<HeaderColumns> columns = headerColumns(names))
            return DelimitedHeader{separator, *columns};
    }
    return std::nullopt;
}

std::optional<LoadFailure> loadDelimitedText(PriceSeries& series, std::string_view bytes,
                                             TextEnd end, const DelimitedHeader& header,
                                             const QString& title) {
    clearSeries(series);
    series.titleLine1 = title;
    if (const size_t dosEnd = bytes.find('\x1A'); dosEnd != std::string_view::npos)
        bytes = bytes.substr(0, dosEnd);
    if (end != TextEnd::Whole) {
        const size_t lastEnd = bytes.find_last_of("\r\n");
        bytes = bytes.substr(0, lastEnd == std::string_view::npos ? 0 : lastEnd + 1);
    }
    const FileEncoding encoding = fileEncoding(bytes);
    LineReader lines(withoutByteOrderMark(bytes));
    const HeaderColumns& columns = header.columns;
    const bool four = columns.fourPrices();
    std::vector<HeaderRow> rows;
    std::vector<std::string> fields;
    std::string kept;
    std::string_view line;
    int64_t lineNumber = 0;
    auto field = [&fields](int column) -> std::string_view {
        return column >= 0 && size_t(column) < fields.size() ? fields[size_t(column)]
                                                             : std::string_view();
    };
    while (lines.next(line)) {
        if (++lineNumber == 1 || withoutTrailingBlanks(line).empty()) continue;
        splitFields(asciiLine(line, encoding, kept), header.separator, fields);
        const std::array<PriceField, 4> prices{
            priceField(field(columns.open)), priceField(field(columns.high)),
            priceField(field(columns.low)), priceField(field(columns.close))};
        rows.push_back(headerRow(lineNumber, headerDate(field(columns.date)), four, prices));
    }
    // A text read only in part ends in a line that could not be read whole.
    if (end == TextEnd::Cut) rows.push_back({lineNumber + 1, HeaderRow::Kind::Unreadable, {}});
    return storeHeaderRows(series, std::move(rows), four);
}

} // namespace nimbrel
