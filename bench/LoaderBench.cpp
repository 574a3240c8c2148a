// Loading a full-size data file: the text reader from disk and from memory, and workbooks read
// by the reader process, spawning it included. scripts/bench measures the reader's own peak
// memory: a process spawned from this one would report this one's as its own.
#include "BenchDays.h"

#include "data/TextDataFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace nimbrel {

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
            loadDataFile(*series, folder->path(), kTextFileName, QStringLiteral("sheet1"));
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

void loadWorkbook(benchmark::State& state, const QString& folder, const QString& name, int days) {
    auto series = std::make_unique<PriceSeries>();
    for (auto _ : state) {
        const auto failure = loadDataFile(*series, folder, name, QStringLiteral("sheet1"));
        if (!loadSucceeded(state, failure, *series, days)) break;
    }
}

void BM_LoadWorkbook(benchmark::State& state) {
    loadWorkbook(state, QStringLiteral(NIMBREL_BENCH_DATA), QStringLiteral("days15000.xls"),
                 kMaxDays);
}
BENCHMARK(BM_LoadWorkbook)->Unit(benchmark::kMillisecond);

// The same days in an .xlsx workbook (bench/data/make_days15000_xlsx.py): about 3 MB of sheet
// XML inflated and read.
void BM_LoadXlsxWorkbook(benchmark::State& state) {
    loadWorkbook(state, QStringLiteral(NIMBREL_BENCH_DATA), QStringLiteral("days15000.xlsx"),
                 kMaxDays);
}
BENCHMARK(BM_LoadXlsxWorkbook)->Unit(benchmark::kMillisecond);

// Twenty sheets whose size records claim 65536 x 256 cells each.
void BM_LoadLyingSizesWorkbook(benchmark::State& state) {
    loadWorkbook(state, QStringLiteral(NIMBREL_FIXTURES), QStringLiteral("dimension_20_sheets.xls"),
                 5);
}
BENCHMARK(BM_LoadLyingSizesWorkbook)->Unit(benchmark::kMillisecond);

// A shared-string table claiming 2^31 - 1 strings, with 32767-character ones.
void BM_LoadLongStringsWorkbook(benchmark::State& state) {
    loadWorkbook(state, QStringLiteral(NIMBREL_FIXTURES), QStringLiteral("long_strings.xls"), 5);
}
BENCHMARK(BM_LoadLongStringsWorkbook)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace nimbrel
