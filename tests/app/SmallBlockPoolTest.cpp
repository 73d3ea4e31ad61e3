#include <cstdint>
#include <iterator>
#include <memory>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "app/SmallBlockPool.h"

namespace {

constexpr int kBlocks = SmallBlockPool::kBlockCount;

TEST(SmallBlockPool, ServesUpTo16BytesLastFreedFirstAndTheRestFromTheHeap)
{
    auto pool = std::make_unique<SmallBlockPool>();
    auto block = [&](int number) { return pool->blocks + number * SmallBlockPool::kBlockSize; };
    void* empty = pool->Allocate(0);
    void* node = pool->Allocate(12);
    void* full = pool->Allocate(16);
    EXPECT_EQ(empty, block(kBlocks - 1));
    EXPECT_EQ(node, block(kBlocks - 2));
    EXPECT_EQ(full, block(kBlocks - 3));
    pool->Free(empty);
    pool->Free(full);
    EXPECT_EQ(pool->Allocate(8), full);
    EXPECT_EQ(pool->Allocate(8), empty);
    EXPECT_EQ(pool->Allocate(8), block(kBlocks - 4));

    // Every block once, then the heap: for more than 16 bytes, or when none is free.
    std::set<void*> taken = {empty, node, full, block(kBlocks - 4)};
    while (pool->FreeCount() > 0)
        taken.insert(pool->Allocate(16));
    EXPECT_EQ(taken.size(), size_t{kBlocks});
    for (size_t size : {17, 4}) {
        void* heap = pool->Allocate(size);
        ASSERT_NE(heap, nullptr);
        EXPECT_FALSE(pool->Owns(heap));
        pool->Free(heap);
    }
    pool->Free(nullptr);
    EXPECT_EQ(pool->FreeCount(), 0) << "a heap block must not join the pool";
    void* middle = *std::next(taken.begin(), 500);
    pool->Free(middle);
    EXPECT_EQ(pool->Allocate(16), middle);
}

// The pool serves the thread that first used it; another thread's small requests go to the
// heap, so that two threads never take the same block.
TEST(SmallBlockPool, AnotherThreadGetsItsSmallBlocksFromTheHeap)
{
    auto pool = std::make_unique<SmallBlockPool>();
    void* mine = pool->Allocate(8);
    EXPECT_TRUE(pool->Owns(mine));
    void* theirs = nullptr;
    std::thread([&] { theirs = pool->Allocate(8); }).join();
    ASSERT_NE(theirs, nullptr);
    EXPECT_FALSE(pool->Owns(theirs));
    EXPECT_EQ(pool->FreeCount(), kBlocks - 1);
    pool->Free(theirs);
    pool->Free(mine);
    EXPECT_EQ(pool->FreeCount(), kBlocks);
}

TEST(GlobalAllocator, SmallObjectsUseThePoolLargeAndOverAlignedOnesTheHeap)
{
    struct Node {
        Node* next;
        int value;
    };
    struct alignas(64) OverAligned {
        char bytes[16];
    };
    int freeBefore = smallBlockPool.FreeCount();
    auto* node = new Node{nullptr, 1};
    auto* array = new int[3];
    auto* large = new char[64];
    auto* aligned = new OverAligned;
    EXPECT_TRUE(smallBlockPool.Owns(node));
    EXPECT_TRUE(smallBlockPool.Owns(array));
    EXPECT_FALSE(smallBlockPool.Owns(large));
    EXPECT_FALSE(smallBlockPool.Owns(aligned));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(aligned) % 64, 0u);
    EXPECT_EQ(smallBlockPool.FreeCount(), freeBefore - 2);
    delete node;
    delete[] array;
    delete[] large;
    delete aligned;
    EXPECT_EQ(smallBlockPool.FreeCount(), freeBefore);
}

}  // namespace
