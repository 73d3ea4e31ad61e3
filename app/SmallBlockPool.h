#pragma once
// Requests of up to 16 bytes come from a fixed pool of 1024 blocks of 16 bytes, served last in
// first out; larger ones, and small ones while the pool is empty, from the heap. The pool is
// the thread's that first used it (the program's own); other threads (the replay writer, the
// board's sender) get every block from the heap. Behind the program's global operator new and
// delete.

#include <cstddef>
#include <cstdint>

class SmallBlockPool {
public:
    static constexpr int kBlockSize = 16;
    static constexpr int kBlockCount = 1024;

    // Null only when the heap fails.
    void* Allocate(size_t size);
    // Takes a block back onto the pool, or hands anything else (null included) to the heap.
    void Free(void* pointer);
    bool Owns(const void* pointer) const;
    int32_t FreeCount() const { return ready ? freeCount : kBlockCount; }

    alignas(16) unsigned char blocks[kBlockCount * kBlockSize] = {};
    uint32_t freeIndices[kBlockCount] = {};
    int32_t freeCount = 0;
    bool ready = false;
    uintptr_t ownerThread = 0;  // tells the pool's thread: the address of a thread-local
};

// Constant-initialised, so it works for allocations made by other objects' static constructors.
extern constinit SmallBlockPool smallBlockPool;
