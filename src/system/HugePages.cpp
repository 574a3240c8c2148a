#include "system/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace nimbrel {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;

size_t wholeHugePages(size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

} // namespace

void* mapHugePages(size_t bytes) {
    // Mapped with a huge page's room to spare, then cut to start on a huge page's boundary.
    const size_t length = wholeHugePages(bytes);
    void* mapping = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(mapping);
    const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start) munmap(mapping, aligned - start);
    munmap(reinterpret_cast<void*>(aligned + length), start + kHugePage - aligned);
    void* memory = reinterpret_cast<void*>(aligned);
    madvise(memory, length, MADV_HUGEPAGE);
    return memory;
}

void unmapHugePages(void* memory, size_t bytes) {
    if (memory) munmap(memory, wholeHugePages(bytes));
}

} // namespace nimbrel
