#include "BenchDays.h"

#include <chrono>
#include <cstdio>
#include <random>

namespace nimbrel {

namespace {

// "1234 見本ソフト工業　日足" and "単位：円" in Shift-JIS; ソ ends in 0x5C, a byte that
// also means '\' on its own.
constexpr char kHeadings[] = "1234 \x8c\xa9\x96\x7b\x83\x5c\x83\x74\x83\x67\x8d\x48\x8b\xc6"
                             "\x81\x40\x93\xfa\x91\xab\r\n"
                             "\x92\x50\x88\xca\x81\x46\x89\x7e\r\n";

void appendPrice(std::string& out, long cents) {
    char text[32];
    int length;
    if (cents % 100 == 0)
        length = std::snprintf(text, sizeof text, "%ld", cents / 100);
    else if (cents % 10 == 0)
        length = std::snprintf(text, sizeof text, "%ld.%ld", cents / 100, cents % 100 / 10);
    else
        length = std::snprintf(text, sizeof text, "%ld.%02ld", cents / 100, cents % 100);
    out.append(text, static_cast<size_t>(length));
}

} // namespace

std::string makeDaysText(int days) {
    using namespace std::chrono;
    std::string out = kHeadings;
    out.reserve(out.size() + static_cast<size_t>(days) * 48);

    std::mt19937 random(19700105); // the standard fixes its sequence, so the file never changes
    std::uniform_int_distribution<long> move(-300, 300), reach(0, 200);
    constexpr long kTick = 5;
    long close = 300000;
    sys_days day = sys_days{1970y / January / 5};
    for (int written = 0; written < days; ++day) {
        if (weekday{day} == Saturday || weekday{day} == Sunday) continue;
        const year_month_day date{day};
        const long open = std::max(close + move(random) * kTick, 10000L);
        close = std::max(open + move(random) * kTick, 10000L);
        const long high = std::max(open, close) + reach(random) * kTick;
        const long low = std::max(std::min(open, close) - reach(random) * kTick, 5000L);

        char dateText[16];
        const int length =
            std::snprintf(dateText, sizeof dateText, "%04d%02u%02u", static_cast<int>(date.year()),
                          static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
        out.append(dateText, static_cast<size_t>(length));
        for (long price : {open, high, low, close}) {
            out.push_back(' ');
            appendPrice(out, price);
        }
        out += "\r\n";
        ++written;
    }
    return out;
}

bool loadSucceeded(benchmark::State& state, const std::optional<LoadFailure>& failure,
                   const PriceSeries& series, int days) {
    if (failure) {
        state.SkipWithError(("load failed: " + failure->message.text.toStdString()).c_str());
        return false;
    }
    if (series.dataCount != days) {
        state.SkipWithError(
            ("loaded " + std::to_string(series.dataCount) + " days, not " + std::to_string(days))
                .c_str());
        return false;
    }
    return true;
}

std::unique_ptr<PriceSeries> loadedFullSeries(benchmark::State& state) {
    auto series = std::make_unique<PriceSeries>();
    const std::string text = makeDaysText(kMaxDays);
    if (!loadSucceeded(state, loadTextData(*series, text), *series)) return nullptr;
    return series;
}

} // namespace nimbrel
