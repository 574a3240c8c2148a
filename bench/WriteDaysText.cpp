// Writes the benchmarks' full-size text data file, for timing the whole program on it:
//     nimbrel_write_days_text OUT
#include "BenchDays.h"

#include <cstdio>

using namespace nimbrel;

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT\n", argv[0]);
        return 2;
    }
    const std::string text = makeDaysText(kMaxDays);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
