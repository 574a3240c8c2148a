// The workbook reader process: reads the workbook open on its standard input and writes the
// cells of one worksheet to its standard output, for the program that started it.
//
//     nimbrel-workbook-reader SHEET ROWS PARENT
//
// SHEET is the worksheet's name (UTF-8, matched without regard to case), ROWS how many rows
// from the heading row on to keep, PARENT the program's process id. The answer is one byte,
// 'O' followed by the cells, 'S' for no worksheet of that name, or 'R' for a file that is not
// a workbook it can read. ROWS 0 asks for the names of the worksheets instead: 'N' followed by
// each name that is UTF-8 and ends with a zero byte. A workbook file is the user's, from anywhere:
// whatever it does to the reader, the program only sees a file it cannot read.
#include "workbook/WorkbookReader.h"
#include "system/WriteAll.h"

#include <glib.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define NIMBREL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NIMBREL_ADDRESS_SANITIZER 1
#endif
#endif

namespace nimbrel {
namespace {

constexpr rlim_t kAddressSpace = rlim_t(512) << 20;
constexpr rlim_t kCpuSeconds = 10;

void limitSelf() {
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    const rlimit cpu{kCpuSeconds, kCpuSeconds + 1};
    setrlimit(RLIMIT_CPU, &cpu);
#ifndef NIMBREL_ADDRESS_SANITIZER
    // AddressSanitizer reserves terabytes of address space for its shadow memory, so a build
    // with it runs without this limit; what the reader keeps is bounded by the rows asked for.
    const rlimit memory{kAddressSpace, kAddressSpace};
    setrlimit(RLIMIT_AS, &memory);
#endif
}

// The container library warns on stderr about the damage it meets; the program only needs to
// know whether the file could be read.
void dropMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// The same name in another case, character for character: folding that changes a name's
// length (ß to ss) would open a sheet the user did not name.
bool sameNameInAnyCase(const std::string& a, const std::string& b) {
    const gchar* p = a.c_str();
    const gchar* q = b.c_str();
    while (*p && *q) {
        if (g_unichar_tolower(g_utf8_get_char(p)) != g_unichar_tolower(g_utf8_get_char(q)))
            return false;
        p = g_utf8_next_char(p);
        q = g_utf8_next_char(q);
    }
    return !*p && !*q;
}

// The sheet of exactly that name; otherwise the first one of that name in any case.
std::optional<size_t> sheetNamed(const std::vector<std::string>& names, const std::string& name) {
    const auto exact = std::find(names.begin(), names.end(), name);
    if (exact != names.end()) return static_cast<size_t>(exact - names.begin());
    for (size_t i = 0; i < names.size(); ++i)
        if (g_utf8_validate(names[i].c_str(), -1, nullptr) && sameNameInAnyCase(names[i], name))
            return i;
    return std::nullopt;
}

std::string answer(const std::string& sheetName, int rowsKept) {
    const std::unique_ptr<WorkbookReader> workbook = WorkbookReader::openFile(STDIN_FILENO);
    if (!workbook) return "R";
    if (rowsKept == 0) {
        std::string names = "N";
        for (const std::string& name : workbook->sheetNames()) {
            // A name the user could not type or the answer could not end is left out.
            if (!g_utf8_validate(name.c_str(), static_cast<gssize>(name.size()), nullptr)) continue;
            names += name;
            names += '\0';
        }
        return names;
    }
    const std::optional<size_t> sheet = sheetNamed(workbook->sheetNames(), sheetName);
    if (!sheet) return "S";
    const std::optional<WorksheetCells> cells = workbook->readSheet(*sheet, rowsKept);
    return cells ? "O" + cells->serialize() : "R";
}

} // namespace

int readerMain(int argc, char* argv[]) {
    limitSelf();
    g_log_set_default_handler(dropMessage, nullptr);
    if (argc != 4) return 2;
    // Ends with the program: killed when it dies, and not started at all when it already has.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != static_cast<pid_t>(std::strtol(argv[3], nullptr, 10))) return 2;
    const int rowsKept = static_cast<int>(std::strtol(argv[2], nullptr, 10));
    if (rowsKept < 0 || rowsKept > 0x10000 || !g_utf8_validate(argv[1], -1, nullptr)) return 2;
    return writeAll(STDOUT_FILENO, answer(argv[1], rowsKept)) ? 0 : 1;
}

} // namespace nimbrel

int main(int argc, char* argv[]) {
    return nimbrel::readerMain(argc, argv);
}
