#include "ui/FileWatch.h"

#include <QFileInfo>

namespace nimbrel {

namespace {

constexpr int kQuietMilliseconds = 500;

} // namespace

bool FileWatch::Stamp::operator==(const Stamp& other) const {
    return exists == other.exists && inode == other.inode && size == other.size &&
           changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

FileWatch::FileWatch(QObject* parent) : QObject(parent) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMilliseconds);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FileWatch::somethingChanged);
    // A file replaced by another of its name is seen in its folder.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileWatch::somethingChanged);
    connect(&quiet_, &QTimer::timeout, this, &FileWatch::quietEnded);
}

FileWatch::Stamp FileWatch::stampNow() const {
    Stamp stamp;
    struct stat status {};
    if (path_.isEmpty() || ::stat(QFile::encodeName(path_).constData(), &status) != 0) return stamp;
    stamp.exists = true;
    stamp.inode = status.st_ino;
    stamp.size = status.st_size;
    stamp.changed = status.st_mtim;
    return stamp;
}

void FileWatch::watchPaths() {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    if (!enabled_ || path_.isEmpty()) return;
    watcher_.addPath(QFileInfo(path_).absolutePath());
    if (QFileInfo::exists(path_)) watcher_.addPath(path_);
}

void FileWatch::watch(const QString& path) {
    path_ = path;
    quiet_.stop();
    loaded_ = stampNow();
    watchPaths();
}

void FileWatch::setEnabled(bool on) {
    enabled_ = on;
    quiet_.stop();
    loaded_ = stampNow();
    watchPaths();
}

void FileWatch::somethingChanged() {
    // Another file of the folder changed, or the file is back as it was loaded.
    const Stamp now = stampNow();
    if (now == loaded_ && !quiet_.isActive()) return;
    waiting_ = now;
    quiet_.start();
}

void FileWatch::quietEnded() {
    const Stamp now = stampNow();
    // Written to without a word from the watcher (a file replaced is watched no longer).
    if (!(now == waiting_)) {
        waiting_ = now;
        quiet_.start();
        return;
    }
    watchPaths();
    if (now == loaded_ || !now.exists) return;
    loaded_ = now;
    emit settled();
}

} // namespace nimbrel
