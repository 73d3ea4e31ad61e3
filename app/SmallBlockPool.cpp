#include "app/SmallBlockPool.h"

#include <cassert>
#include <cstdlib>

constinit SmallBlockPool smallBlockPool;

namespace {

uintptr_t ThisThread()
{
#ifdef __EMSCRIPTEN__
    return 1;  // the page is built without threads, and so without thread-local storage
#else
    static thread_local char marker;
    return reinterpret_cast<uintptr_t>(&marker);
#endif
}

}  // namespace

void* SmallBlockPool::Allocate(size_t size)
{
    if (!ready) {
        for (int i = 0; i < kBlockCount; ++i)
            freeIndices[i] = static_cast<uint32_t>(i);
        freeCount = kBlockCount;
        ownerThread = ThisThread();
        ready = true;
    }
    if (size > kBlockSize || freeCount == 0 || ThisThread() != ownerThread)
        return std::malloc(size == 0 ? 1 : size);  // every allocation a distinct address
    return blocks + size_t{freeIndices[--freeCount]} * kBlockSize;
}

void SmallBlockPool::Free(void* pointer)
{
    if (!Owns(pointer)) {
        std::free(pointer);
        return;
    }
    assert(freeCount < kBlockCount && "a pool block was freed twice");
    size_t offset = static_cast<unsigned char*>(pointer) - blocks;
    freeIndices[freeCount++] = static_cast<uint32_t>(offset / kBlockSize);
}

bool SmallBlockPool::Owns(const void* pointer) const
{
    // Compared as integers: ordering pointers into different objects is not defined.
    auto address = reinterpret_cast<uintptr_t>(pointer);
    auto start = reinterpret_cast<uintptr_t>(blocks);
    return address - start < sizeof blocks;
}
