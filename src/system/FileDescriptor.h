#pragma once

#include <unistd.h>

#include <utility>

namespace nimbrel {

// An open file descriptor, closed when its owner goes: every way out of a function that
// opened one closes it. -1 holds none.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    // Closes now and tells whether the system took it: a written file's last error shows here.
    [[nodiscard]] bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_ = -1;
};

} // namespace nimbrel
