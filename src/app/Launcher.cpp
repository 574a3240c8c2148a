// nimbrel: starts the window's program or the command line's, whichever the arguments ask for,
// in place of itself. It links nothing but the C library, so that neither pays for the other's
// libraries: a command loads no widgets, the window no more than it uses.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace nimbrel {
namespace {

// The window takes no argument, or one that names a file or folder; anything else is the
// command line's, which also answers --help, --version and wrong commands.
bool asksForWindow(int argc, char* argv[]) {
    if (argc == 1) return true;
    return argc == 2 && std::strncmp(argv[1], "--", 2) != 0 && std::strcmp(argv[1], "-h") != 0;
}

// The programs are installed in libexec/nimbrel beside bin, as the build tree lays them out.
std::string programBeside(const char* name) {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return {};
    std::string path(self, static_cast<size_t>(length));
    path.erase(path.rfind('/') + 1);
    return path + NIMBREL_PROGRAMS_FROM_LAUNCHER + "/" + name;
}

int launch(int argc, char* argv[]) {
    const std::string program =
        programBeside(asksForWindow(argc, argv) ? "nimbrel-window" : "nimbrel-command");
    // argv[0] stays as the user started it: the window's class and messages use its name.
    execv(program.c_str(), argv);
    std::fprintf(stderr, "nimbrel: %s: %s\n", program.c_str(), std::strerror(errno));
    return 127;
}

} // namespace
} // namespace nimbrel

int main(int argc, char* argv[]) {
    return nimbrel::launch(argc, argv);
}
