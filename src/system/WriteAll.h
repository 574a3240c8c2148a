#pragma once

#include <cerrno>
#include <string_view>
#include <unistd.h>

namespace nimbrel {

// Writes all of `bytes` to the file descriptor, going on after a signal interrupts a write;
// false on any error, or when nothing more can be written.
inline bool writeAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

} // namespace nimbrel
