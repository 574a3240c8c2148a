#pragma once

#include "system/FileDescriptor.h"

#include <QByteArray>
#include <QString>

namespace nimbrel {

// File names are bytes to the system. A name that is not UTF-8 keeps its bytes through a
// QString: each byte that is not part of a UTF-8 character is held as U+DC80..U+DCFF, as
// Python's file names do, and turned back into that byte when the file is opened.
QString decodeFileName(const QByteArray& bytes);
QByteArray encodeFileName(const QString& name);

// Opens a regular file for reading, without waiting on a FIFO's writer or a device; none for
// anything else or when it cannot be opened. The descriptor is above the standard three and
// closed on exec.
[[nodiscard]] FileDescriptor openRegularFile(const QByteArray& path);

// The same file at a descriptor above the standard three (the one given is closed).
[[nodiscard]] FileDescriptor aboveStandardStreams(FileDescriptor fd);

// Whether a file exists and is not a regular file (a device, a FIFO, a socket, a folder).
bool isSpecialFile(const QByteArray& path);

} // namespace nimbrel
