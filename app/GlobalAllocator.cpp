// The program's global operator new and delete: small blocks from the pool, the rest from the
// heap. Over-aligned requests bypass the pool (its blocks are only 16-byte aligned) and are
// released straight to the heap.

#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/SmallBlockPool.h"

namespace {

// The game has no use for bad_alloc: running out of memory ends it with a message.
void* Checked(void* pointer, std::size_t size)
{
    if (!pointer) {
        std::fprintf(stderr, "korimo: out of memory (%zu bytes)\n", size);
        std::abort();
    }
    return pointer;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment)
{
    auto align = static_cast<std::size_t>(alignment);
    // aligned_alloc wants a size that is a multiple of the alignment, and never zero.
    std::size_t rounded = (size + align - 1) / align * align;
#ifdef _WIN32
    // Windows' C library has no aligned_alloc: its own pair frees with _aligned_free.
    return _aligned_malloc(rounded == 0 ? align : rounded, align);
#else
    return std::aligned_alloc(align, rounded == 0 ? align : rounded);
#endif
}

void FreeAligned(void* pointer)
{
#ifdef _WIN32
    _aligned_free(pointer);
#else
    std::free(pointer);
#endif
}

}  // namespace

void* operator new(std::size_t size)
{
    return Checked(smallBlockPool.Allocate(size), size);
}
void* operator new[](std::size_t size)
{
    return Checked(smallBlockPool.Allocate(size), size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return smallBlockPool.Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return smallBlockPool.Allocate(size);
}

void operator delete(void* pointer) noexcept
{
    smallBlockPool.Free(pointer);
}
void operator delete[](void* pointer) noexcept
{
    smallBlockPool.Free(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept
{
    smallBlockPool.Free(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept
{
    smallBlockPool.Free(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept
{
    smallBlockPool.Free(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept
{
    smallBlockPool.Free(pointer);
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    return Checked(AllocateAligned(size, alignment), size);
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return Checked(AllocateAligned(size, alignment), size);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return AllocateAligned(size, alignment);
}

void operator delete(void* pointer, std::align_val_t) noexcept
{
    FreeAligned(pointer);
}
void operator delete[](void* pointer, std::align_val_t) noexcept
{
    FreeAligned(pointer);
}
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept
{
    FreeAligned(pointer);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept
{
    FreeAligned(pointer);
}
void operator delete(void* pointer, std::align_val_t, const std::nothrow_t&) noexcept
{
    FreeAligned(pointer);
}
void operator delete[](void* pointer, std::align_val_t, const std::nothrow_t&) noexcept
{
    FreeAligned(pointer);
}
