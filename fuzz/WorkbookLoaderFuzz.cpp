// Feeds arbitrary bytes to the workbook reader as a file named x.xls, asked for sheet1. The
// workbook library itself runs in a child process of the loader: what it does with a file
// shows here only as the load's result.
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
#include <pthread.h>
#include <sanitizer/common_interface_defs.h>
#include <csignal>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder of this process's own, named by its process id, in memory when /dev/shm exists, so
// parallel fuzzing jobs do not overwrite each other's file and the disk is spared a write per
// input.
constexpr char kFolderPrefix[] = "nimbrel-fuzz-";
std::string folder;

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

// The loader reads the workbook in a child process, where the workbook library may crash on a
// malformed file: that is how the loader learns the file cannot be read, not a finding. The
// child therefore dies plainly instead of reporting the input as this fuzzer's crash.
static void dieQuietlyInChild() {
    __sanitizer_set_death_callback(nullptr);
    for (int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGILL, SIGFPE}) std::signal(signal, SIG_DFL);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pthread_atfork(nullptr, nullptr, dieQuietlyInChild);
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
