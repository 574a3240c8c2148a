// Feeds arbitrary bytes to the text-file reader as a whole file.
#include "SeriesChecks.h"

#include "data/TextDataFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One series for the whole run, like the window's: each load must replace all of it.
    static const auto series = std::make_unique<PriceSeries>();
    dirtySeries(*series);
    (void)loadTextData(*series, std::string_view(reinterpret_cast<const char*>(data), size));
    checkLoadedSeries(*series, "text load");
    return 0;
}
