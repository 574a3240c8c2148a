#pragma once

#include <QByteArray>

#include <string_view>

namespace nimbrel {

// Writes a whole file that the program makes (an export): to a temporary file beside the
// target, flushed to disk and renamed over the target once complete, so that a failed or
// interrupted write never leaves the target cut short. A symbolic link keeps pointing at the
// file it names, which is the one replaced; a device or FIFO (/dev/null, a pipe) is written
// straight, as it cannot be replaced. `path` is the name's bytes exactly as given. False when
// anything failed; the target then keeps what it held.
[[nodiscard]] bool writeWholeFile(const QByteArray& path, std::string_view bytes);

} // namespace nimbrel
