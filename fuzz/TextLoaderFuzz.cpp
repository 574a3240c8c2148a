// Feeds arbitrary bytes to the text-file readers: as a whole file, as far as a load reading the
// file in pieces would read it, cut short as at the byte limit, by its header row, and as
// UTF-16.
#include "SeriesChecks.h"

#include "data/DelimitedTextFile.h"
#include "data/TextDataFile.h"
#include "system/TextDecoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace nimbrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One series for the whole run, like the window's: each load must replace all of it.
    static const auto series = std::make_unique<PriceSeries>();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    dirtySeries(*series);
    (void)loadTextData(*series, bytes);
    checkLoadedSeries(*series, "text load");

    // Pieces of a few bytes, so that line ends and CR LF pairs fall across them.
    TextExtent extent;
    std::string read;
    TextEnd end = TextEnd::Whole;
    for (size_t at = 0; at < size; at += 7) {
        read.append(bytes.substr(at, 7));
        if (extent.scan(read)) {
            if (extent.end() > read.size()) {
                std::fputs("text extent: end past what was read\n", stderr);
                std::abort();
            }
            read.resize(extent.end());
            end = extent.how();
            break;
        }
    }
    dirtySeries(*series);
    (void)loadTextData(*series, read, end);
    checkLoadedSeries(*series, "text load read in pieces");

    dirtySeries(*series);
    (void)loadTextData(*series, bytes.substr(0, size / 2), TextEnd::Cut);
    checkLoadedSeries(*series, "text load cut short");

    // The same bytes as a file read by its header, and as UTF-16 text.
    if (const std::optional<DelimitedHeader> header = delimitedHeader(bytes)) {
        dirtySeries(*series);
        (void)loadDelimitedText(*series, bytes, TextEnd::Whole, *header, QStringLiteral("title"));
        checkLoadedSeries(*series, "delimited text load");
    }
    if (const std::optional<std::string> utf8 = utf16AsUtf8(bytes)) {
        dirtySeries(*series);
        (void)loadTextData(*series, *utf8);
        checkLoadedSeries(*series, "UTF-16 text load");
    }
    return 0;
}
