#include "system/FileAccess.h"

#include "system/TextDecoding.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nimbrel {

namespace {

bool isEscapedByte(char16_t unit) {
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

} // namespace

QString decodeFileName(const QByteArray& bytes) {
    QString name;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const int length = utf8CharacterLength(p, end);
        if (length == 0) {
            name += QChar(char16_t(0xDC00 + *p));
            ++p;
        } else {
            name += QString::fromUtf8(reinterpret_cast<const char*>(p), length);
            p += length;
        }
    }
    return name;
}

QByteArray encodeFileName(const QString& name) {
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        // A lone low surrogate is an escaped byte; one after a high surrogate is a character.
        const bool escaped = i < name.size() && isEscapedByte(name[i].unicode()) &&
                             (i == 0 || !name[i - 1].isHighSurrogate());
        if (i < name.size() && !escaped) continue;
        bytes += name.mid(runStart, i - runStart).toUtf8();
        if (escaped) bytes += static_cast<char>(name[i].unicode() - 0xDC00);
        runStart = i + 1;
    }
    return bytes;
}

FileDescriptor aboveStandardStreams(FileDescriptor fd) {
    if (!fd.isOpen() || fd.get() > STDERR_FILENO) return fd;
    // Started with a standard stream closed: keep the file off the numbers a child takes.
    return FileDescriptor(fcntl(fd.get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
}

FileDescriptor openRegularFile(const QByteArray& path) {
    FileDescriptor fd(open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status;
    if (!fd.isOpen() || fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
    return aboveStandardStreams(std::move(fd));
}

bool isSpecialFile(const QByteArray& path) {
    struct stat status;
    return stat(path.constData(), &status) == 0 && !S_ISREG(status.st_mode);
}

} // namespace nimbrel
