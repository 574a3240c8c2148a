#include "system/OutputFile.h"

#include "system/FileDescriptor.h"
#include "system/WriteAll.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nimbrel {

namespace {

// The permissions of the file replaced, or those of any new file.
mode_t modeFor(const QByteArray& target) {
    struct stat status;
    if (stat(target.constData(), &status) == 0) return status.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool writeWholeFile(const QByteArray& path, std::string_view bytes) {
    struct stat status;
    if (stat(path.constData(), &status) == 0 && !S_ISREG(status.st_mode)) {
        FileDescriptor fd(open(path.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
        if (!fd.isOpen()) return false;
        const bool written = writeAll(fd.get(), bytes);
        return fd.close() && written;
    }
    QByteArray target = path;
    if (char* resolved = realpath(path.constData(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray temporary = (slash < 0 ? QByteArray() : target.left(slash + 1)) + '.' +
                           target.mid(slash + 1) + ".XXXXXX";
    FileDescriptor fd(mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.isOpen()) return false;
    const bool written = fchmod(fd.get(), modeFor(target)) == 0 && writeAll(fd.get(), bytes) &&
                         fdatasync(fd.get()) == 0;
    if (fd.close() && written && rename(temporary.constData(), target.constData()) == 0)
        return true;
    // The caller reports why the write failed: errno stays what the failing call set.
    const int error = errno;
    unlink(temporary.constData());
    errno = error;
    return false;
}

} // namespace nimbrel
