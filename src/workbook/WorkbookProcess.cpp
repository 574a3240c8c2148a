#include "workbook/WorkbookProcess.h"

#include "system/FileAccess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace nimbrel {

// The reader runs as its own small program, spawned rather than forked: a child forked from the
// window's threaded process could deadlock on a lock that another thread held at the fork.

namespace {

// Long enough for a workbook on a slow network share; the reader's own CPU limit is shorter.
constexpr std::chrono::milliseconds kAnswerTimeLimit = std::chrono::seconds(20);
// A full sheet of kept cells, every text at its longest, is about 25 MB.
constexpr size_t kLargestAnswer = size_t(64) << 20;

// Installed as the build tree is laid out: the window's and the command line's programs beside
// it in libexec/nimbrel, and bin, tests and bench next to libexec.
std::string readerProgram() {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return {};
    std::string folder(self, static_cast<size_t>(length));
    folder.erase(folder.rfind('/') + 1);
    const std::string_view fromProgram = NIMBREL_READER_FROM_PROGRAM;
    const std::string beside = folder + std::string(fromProgram.substr(fromProgram.rfind('/') + 1));
    if (access(beside.c_str(), X_OK) == 0) return beside;
    return folder + std::string(fromProgram);
}

// Everything the reader writes, until it closes its end; false when it takes too long or says
// more than any sheet needs.
bool readAnswer(int fd, std::chrono::milliseconds timeLimit, std::string& answer) {
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    answer.reserve(size_t(1) << 20);
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (answer.size() + static_cast<size_t>(got) > kLargestAnswer) return false;
        answer.append(buffer, static_cast<size_t>(got));
    }
}

bool runReader(const std::string& program, std::chrono::milliseconds timeLimit, int file,
               const QString& sheetName, int rowsKept, std::string& answer) {
    if (program.empty()) return false;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    const FileDescriptor fromReader = aboveStandardStreams(FileDescriptor(ends[0]));
    FileDescriptor toProgram = aboveStandardStreams(FileDescriptor(ends[1]));
    if (!fromReader.isOpen() || !toProgram.isOpen()) return false;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, file, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, toProgram.get(), STDOUT_FILENO);
    std::string name = sheetName.toStdString();
    std::string rows = std::to_string(rowsKept);
    std::string parent = std::to_string(getpid());
    std::string programCopy = program;
    char* arguments[] = {programCopy.data(), name.data(), rows.data(), parent.data(), nullptr};
    pid_t child = -1;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    // The reader holds the only writing end: its answer ends when it closes it or dies.
    toProgram.reset();
    if (spawned != 0) return false;
    const bool received = readAnswer(fromReader.get(), timeLimit, answer);
    if (!received) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return received && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

const std::string& installedReader() {
    static const std::string program = readerProgram();
    return program;
}

} // namespace

SheetOpenResult openWorksheet(int file, const QString& sheetName, int rowsKept) {
    return openWorksheetWith(installedReader(), kAnswerTimeLimit, file, sheetName, rowsKept);
}

QStringList worksheetNames(int file) {
    std::string answer;
    QStringList names;
    if (!runReader(installedReader(), kAnswerTimeLimit, file, {}, 0, answer) ||
        !answer.starts_with('N'))
        return names;
    std::string_view rest = std::string_view(answer).substr(1);
    for (size_t end; (end = rest.find('\0')) != std::string_view::npos; rest.remove_prefix(end + 1))
        names.append(QString::fromUtf8(rest.data(), static_cast<qsizetype>(end)));
    return names;
}

SheetOpenResult openWorksheetWith(const std::string& readerProgram,
                                  std::chrono::milliseconds timeLimit, int file,
                                  const QString& sheetName, int rowsKept) {
    SheetOpenResult result;
    std::string answer;
    const bool answered = runReader(readerProgram, timeLimit, file, sheetName, rowsKept, answer);
    if (!answered || answer.empty()) return result;
    if (answer[0] == 'S' && answer.size() == 1) {
        result.status = SheetOpenStatus::NoSuchSheet;
    } else if (answer[0] == 'O') {
        result.cells = WorksheetCells::deserialize(std::string_view(answer).substr(1), rowsKept);
        if (result.cells) result.status = SheetOpenStatus::Opened;
    }
    return result;
}

} // namespace nimbrel
