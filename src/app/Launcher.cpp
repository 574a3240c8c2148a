// nimbrel: starts the program the arguments ask for (the window's, or that of the command
// line's job) in place of itself. It links nothing but the C library, so that none pays for
// another's libraries: an export loads no GUI, a render no more than it draws with, the window
// no more than it uses.
#include "command/CommandWords.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace nimbrel {
namespace {

const char* programName(Program program) {
    switch (program) {
    case Program::Window:
        return "nimbrel-window";
    case Program::Render:
        return "nimbrel-render";
    case Program::Print:
        return "nimbrel-print";
    case Program::Command:
        break;
    }
    return "nimbrel-command";
}

int launch(int argc, char* argv[]) {
    const Program program =
        programFor(argc - 1, [argv](int i) { return std::string_view(argv[i + 1]); });
    // The programs are installed in libexec/nimbrel beside bin, as the build tree lays them out.
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    path[length > 0 ? length : 0] = '\0';
    char* const folderEnd = std::strrchr(path, '/');
    const size_t room = folderEnd ? sizeof path - size_t(folderEnd + 1 - path) : 0;
    const int written = folderEnd
                            ? std::snprintf(folderEnd + 1, room, "%s/%s",
                                            NIMBREL_PROGRAMS_FROM_LAUNCHER, programName(program))
                            : -1;
    if (written < 0 || size_t(written) >= room) {
        std::fprintf(stderr, "nimbrel: %s: %s\n", programName(program), std::strerror(ENOENT));
        return 127;
    }
    // argv[0] stays as the user started it: the window's class and messages use its name.
    execv(path, argv);
    std::fprintf(stderr, "nimbrel: %s: %s\n", path, std::strerror(errno));
    return 127;
}

} // namespace
} // namespace nimbrel

int main(int argc, char* argv[]) {
    return nimbrel::launch(argc, argv);
}
