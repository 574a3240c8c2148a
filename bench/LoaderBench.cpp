// Loading a full-size data file: the text reader from disk and from memory, and the workbook
// reader.
#include "BenchDays.h"

#include "data/TextDataFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kTextFileName = QStringLiteral("days15000.txt");

const std::string& daysText() {
    static const std::string text = makeDaysText(kMaxDays);
    return text;
}

// Written once for the whole run, so every timed read after the first comes from the page
// cache and the figure is the reader's, not the disk's. Removed when the program ends.
const QTemporaryDir* textFileFolder() {
    static QTemporaryDir folder;
    static const bool written = [] {
        if (!folder.isValid()) return false;
        QFile file(folder.filePath(kTextFileName));
        const std::string& text = daysText();
        return file.open(QIODevice::WriteOnly) &&
               file.write(text.data(), static_cast<qint64>(text.size())) ==
                   static_cast<qint64>(text.size());
    }();
    return written ? &folder : nullptr;
}

void BM_LoadTextFile(benchmark::State& state) {
    const QTemporaryDir* folder = textFileFolder();
    if (!folder) {
        state.SkipWithError("cannot write the text file");
        return;
    }
    auto series = std::make_unique<PriceSeries>();
    for (auto _ : state) {
        const auto failure =
            loadDataFile(*series, folder->path(), kTextFileName, QStringLiteral("sheet1$"));
        if (!loadSucceeded(state, failure, *series)) break;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(daysText().size()));
}
BENCHMARK(BM_LoadTextFile)->Unit(benchmark::kMillisecond);

void BM_LoadTextBytes(benchmark::State& state) {
    const std::string& text = daysText();
    auto series = std::make_unique<PriceSeries>();
    for (auto _ : state) {
        const auto failure = loadTextData(*series, text);
        if (!loadSucceeded(state, failure, *series)) break;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_LoadTextBytes)->Unit(benchmark::kMillisecond);

void BM_LoadWorkbook(benchmark::State& state) {
    const QString folder = QStringLiteral(NIMBREL_BENCH_DATA);
    auto series = std::make_unique<PriceSeries>();
    for (auto _ : state) {
        const auto failure = loadDataFile(*series, folder, QStringLiteral("days15000.xls"),
                                          QStringLiteral("sheet1$"));
        if (!loadSucceeded(state, failure, *series)) break;
    }
}
BENCHMARK(BM_LoadWorkbook)->Unit(benchmark::kMillisecond);

} // namespace
