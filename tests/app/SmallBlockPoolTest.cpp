#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "app/SmallBlockPool.h"

namespace {

constexpr int kBlocks = SmallBlockPool::kBlockCount;

unsigned char* Block(SmallBlockPool& pool, int number)
{
    return pool.blocks + number * SmallBlockPool::kBlockSize;
}

TEST(SmallBlockPool, ServesSmallRequestsFromTheTopBlockDownAndLargeOnesFromTheHeap)
{
    auto pool = std::make_unique<SmallBlockPool>();
    void* empty = pool->Allocate(0);
    void* node = pool->Allocate(12);
    void* full = pool->Allocate(16);
    void* large = pool->Allocate(17);

    EXPECT_EQ(empty, Block(*pool, kBlocks - 1));
    EXPECT_EQ(node, Block(*pool, kBlocks - 2));
    EXPECT_EQ(full, Block(*pool, kBlocks - 3));
    ASSERT_NE(large, nullptr);
    EXPECT_FALSE(pool->Owns(large));
    EXPECT_EQ(pool->FreeCount(), kBlocks - 3);

    pool->Free(large);
    EXPECT_EQ(pool->FreeCount(), kBlocks - 3) << "a heap block must not join the pool";
    pool->Free(nullptr);
    EXPECT_EQ(pool->FreeCount(), kBlocks - 3);
}

TEST(SmallBlockPool, HandsOutTheLastFreedBlockFirst)
{
    auto pool = std::make_unique<SmallBlockPool>();
    void* a = pool->Allocate(12);
    void* b = pool->Allocate(12);
    void* c = pool->Allocate(12);
    pool->Free(a);
    pool->Free(c);
    EXPECT_EQ(pool->Allocate(8), c);
    EXPECT_EQ(pool->Allocate(8), a);
    EXPECT_NE(pool->Allocate(8), b);
}

TEST(SmallBlockPool, FallsBackToTheHeapWhenEveryBlockIsInUse)
{
    auto pool = std::make_unique<SmallBlockPool>();
    std::set<void*> distinct;
    std::vector<void*> taken;
    for (int i = 0; i < kBlocks; ++i) {
        void* block = pool->Allocate(16);
        ASSERT_TRUE(pool->Owns(block));
        taken.push_back(block);
        distinct.insert(block);
    }
    EXPECT_EQ(distinct.size(), size_t{kBlocks});
    EXPECT_EQ(pool->FreeCount(), 0);

    void* overflow = pool->Allocate(4);
    ASSERT_NE(overflow, nullptr);
    EXPECT_FALSE(pool->Owns(overflow));
    // Released later, it goes back to the heap, not onto the pool's stack.
    pool->Free(overflow);
    EXPECT_EQ(pool->FreeCount(), 0);

    pool->Free(taken[500]);
    EXPECT_EQ(pool->FreeCount(), 1);
    EXPECT_EQ(pool->Allocate(16), taken[500]);
}

// The program's operator new and delete go through the global pool.
struct ListNode {
    ListNode* next;
    int value;
};
struct Large {
    char bytes[64];
};
struct alignas(64) OverAligned {
    char bytes[16];
};

TEST(GlobalAllocator, SmallObjectsUseThePoolAndComeBack)
{
    auto* node = new ListNode{nullptr, 1};
    int freeWhileHeld = smallBlockPool.FreeCount();
    EXPECT_TRUE(smallBlockPool.Owns(node));
    delete node;
    EXPECT_EQ(smallBlockPool.FreeCount(), freeWhileHeld + 1);

    auto* array = new int[3];
    EXPECT_TRUE(smallBlockPool.Owns(array));
    delete[] array;

    auto* large = new Large;
    EXPECT_FALSE(smallBlockPool.Owns(large));
    int freeBefore = smallBlockPool.FreeCount();
    delete large;
    EXPECT_EQ(smallBlockPool.FreeCount(), freeBefore);

    auto* aligned = new OverAligned;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(aligned) % 64, 0u);
    EXPECT_FALSE(smallBlockPool.Owns(aligned));
    delete aligned;
    EXPECT_EQ(smallBlockPool.FreeCount(), freeBefore);
}

}  // namespace
