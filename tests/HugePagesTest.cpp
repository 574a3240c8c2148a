#include "system/HugePages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace nimbrel {

// Every byte asked for is there, zeroed, and the memory is the caller's alone: the mapping cut
// to a huge page's boundary keeps all of it, whatever the size.
TEST(HugePages, GiveEveryByteAskedForZeroed) {
    constexpr size_t kHuge = size_t(2) << 20;
    for (const size_t bytes : {size_t(1), kHuge - 1, kHuge, kHuge + 1, 5 * kHuge / 2}) {
        auto* memory = static_cast<uint8_t*>(mapHugePages(bytes));
        ASSERT_NE(memory, nullptr) << bytes;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(memory) % kHuge, 0u) << bytes;
        EXPECT_TRUE(std::all_of(memory, memory + bytes, [](uint8_t b) { return b == 0; }));
        std::fill(memory, memory + bytes, uint8_t(0xA5));
        auto* other = static_cast<uint8_t*>(mapHugePages(bytes));
        ASSERT_NE(other, nullptr);
        EXPECT_TRUE(other + bytes <= memory || memory + bytes <= other) << bytes;
        EXPECT_EQ(memory[bytes - 1], 0xA5);
        unmapHugePages(other, bytes);
        unmapHugePages(memory, bytes);
    }
}

} // namespace nimbrel
