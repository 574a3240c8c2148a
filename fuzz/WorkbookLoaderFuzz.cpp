// Feeds arbitrary bytes to the workbook reader as a file named x.xls, asked for sheet1.
#include "SeriesChecks.h"

#include "data/DataFileLoader.h"

#include <QString>

#include <cstddef>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder of this process's own, named by its process id, in memory when /dev/shm exists, so
// parallel fuzzing jobs do not overwrite each other's file and the disk is spared a write per
// input.
constexpr char kFolderPrefix[] = "nimbrel-fuzz-";
std::string folder;

// Set from NIMBREL_FUZZ_SKIP_LONG_ENTRY_NAMES=1: leave out inputs that reach the known FreeXL
// 1.0.6 fault (fuzz/regressions/README.md), so that a long run can look for other faults
// instead of finding that one again and again.
bool skipLongEntryNames = false;

uint32_t littleEndian(const uint8_t* bytes, int length) {
    uint32_t value = 0;
    for (int i = length - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

// FreeXL converts each entry name of the first directory sector of the compound file with the
// length the entry states, without checking it against the 64 bytes the name field has. It
// finds that sector at (start + 1) * sector size in 32-bit arithmetic, so a start sector near
// 2^32 wraps round to the start of the file; the same sum is made here.
bool hasLongEntryName(const uint8_t* data, size_t size) {
    if (size < 512) return false;
    const uint32_t shift = littleEndian(data + 0x1E, 2);
    if (shift != 9 && shift != 12) return false;
    const uint32_t sectorSize = uint32_t{1} << shift;
    const uint32_t directory = (littleEndian(data + 0x30, 4) + 1) * sectorSize;
    const int entries = sectorSize == 4096 ? 32 : 4;
    for (int entry = 0; entry < entries; ++entry) {
        const uint64_t nameSize = uint64_t{directory} + static_cast<uint64_t>(entry) * 128 + 0x40;
        if (nameSize + 2 <= size && littleEndian(data + nameSize, 2) > 64) return true;
    }
    return false;
}

void removeFolder(const std::string& path) {
    unlink((path + "/x.xls").c_str());
    rmdir(path.c_str());
}

// A job that crashed never ran its exit handler: its folder is removed by the next job that
// starts, once no process has its id.
void removeFoldersOfEndedJobs(const std::string& base) {
    DIR* entries = opendir(base.c_str());
    if (!entries) return;
    const size_t prefixLength = std::strlen(kFolderPrefix);
    while (const dirent* entry = readdir(entries)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefixLength, kFolderPrefix) != 0) continue;
        char* end = nullptr;
        const long id = std::strtol(name.c_str() + prefixLength, &end, 10);
        if (id <= 0 || *end != '\0') continue;
        // Signal 0 only asks whether the process exists; EPERM means it does, for another user.
        if (kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH) removeFolder(base + "/" + name);
    }
    closedir(entries);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* skip = std::getenv("NIMBREL_FUZZ_SKIP_LONG_ENTRY_NAMES");
    skipLongEntryNames = skip && std::strcmp(skip, "1") == 0;
    for (const char* base : {"/dev/shm", "/tmp"}) {
        removeFoldersOfEndedJobs(base);
        const std::string path = std::string(base) + "/" + kFolderPrefix + std::to_string(getpid());
        if (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) {
            folder = path;
            std::atexit([] { removeFolder(folder); });
            return 0;
        }
    }
    std::perror("mkdir");
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (skipLongEntryNames && hasLongEntryName(data, size)) return -1; // not kept in the corpus
    static const auto series = std::make_unique<PriceSeries>();
    static const QString directory = QString::fromStdString(folder);
    const std::string path = folder + "/x.xls";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    dirtySeries(*series);
    (void)loadDataFile(*series, directory, QStringLiteral("x.xls"), QStringLiteral("sheet1$"));
    checkLoadedSeries(*series, "workbook load");
    return 0;
}
