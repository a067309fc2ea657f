#include "store/RecordPool.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <set>
#include <vector>

#include <gtest/gtest.h>

namespace {
// When set, the next aligned allocation of the pool's kind fails, as a full memory would.
bool g_failNextBlock = false;
}  // namespace

void* operator new(std::size_t size, std::align_val_t align) {
    if (g_failNextBlock) {
        g_failNextBlock = false;
        throw std::bad_alloc();
    }
    const std::size_t a = static_cast<std::size_t>(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

// A block that cannot be had leaves the pool as it was: the slots it hands out afterwards are
// each its own, inside a block, and keep what is written in them.
TEST(RecordPool, AFailedBlockLeavesThePoolAsItWas) {
    constexpr std::size_t kSlot = 64;
    TRecordPool pool(kSlot, 16);
    std::vector<unsigned char*> slots;
    for (int i = 0; i < 8; ++i) slots.push_back(static_cast<unsigned char*>(pool.Allocate()));   // the first block
    g_failNextBlock = true;
    EXPECT_THROW(pool.Allocate(), std::bad_alloc);
    EXPECT_FALSE(g_failNextBlock);
    for (int i = 0; i < 40; ++i) slots.push_back(static_cast<unsigned char*>(pool.Allocate()));
    std::set<unsigned char*> distinct(slots.begin(), slots.end());
    EXPECT_EQ(distinct.size(), slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i) std::memset(slots[i], static_cast<int>(i), kSlot);
    for (std::size_t i = 0; i < slots.size(); ++i)
        for (std::size_t b = 0; b < kSlot; ++b) ASSERT_EQ(slots[i][b], static_cast<unsigned char>(i)) << i;
    for (unsigned char* s : slots) pool.Return(s);
}
