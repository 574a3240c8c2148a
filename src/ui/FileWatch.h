#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <sys/stat.h>

namespace nimbrel {

// Reload on change: tells when the file shown was rewritten on disk (in place, or replaced by
// another of its name, as a download job does) and has then stood still for half a second.
class FileWatch final : public QObject {
    Q_OBJECT
public:
    explicit FileWatch(QObject* parent);

    // The file shown, as it stands now; empty for none.
    void watch(const QString& path);
    void setEnabled(bool on);
    bool enabled() const { return enabled_; }

signals:
    void settled();

private:
    // What tells one state of the file from the next: its inode, size and time of change.
    struct Stamp {
        bool exists = false;
        ino_t inode = 0;
        off_t size = 0;
        timespec changed{};
        bool operator==(const Stamp& other) const;
    };
    Stamp stampNow() const;
    void somethingChanged();
    void quietEnded();
    void watchPaths();

    QFileSystemWatcher watcher_;
    QTimer quiet_;
    QString path_;
    bool enabled_ = false;
    Stamp loaded_;  // the file as it was last loaded
    Stamp waiting_; // the file as it was when the wait began
};

} // namespace nimbrel
