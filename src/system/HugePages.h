#pragma once

#include <cstddef>

namespace nimbrel {

// Memory of its own that the system maps zeroed, in huge pages (2 MB) where the system has
// them, for a command's large tables and pictures: one fault maps what pages of 4 KB fault in
// one at a time, each a trip through the kernel. Null when there is no memory.
[[nodiscard]] void* mapHugePages(size_t bytes);
void unmapHugePages(void* memory, size_t bytes);

} // namespace nimbrel
