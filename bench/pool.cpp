// Small list nodes (12 and 16 bytes) created and deleted the way the game's object lists churn:
// a few hundred live, each step deleting one from the middle and adding one. The pool directly,
// operator new and delete (which this program routes through the pool), and the heap that
// the standard operator new would call.

#include <cstdlib>
#include <memory>

#include <benchmark/benchmark.h>

#include "app/SmallBlockPool.h"

namespace {

constexpr int kLive = 256;
constexpr int kStride = 37;  // coprime with kLive, so deletions wander over the whole list

struct Node12 {
    Node12* next;
    int value;
};
struct Node16 {
    Node16* next;
    Node16* previous;
};
static_assert(sizeof(Node12) <= 16 && sizeof(Node16) == 16);

template <typename Allocate, typename Release>
void Churn(benchmark::State& state, Allocate allocate, Release release)
{
    void* live[kLive];
    for (int i = 0; i < kLive; ++i)
        live[i] = allocate(i);
    int slot = 0;
    int step = 0;
    for (auto _ : state) {
        slot = (slot + kStride) % kLive;
        release(live[slot]);
        live[slot] = allocate(++step);
        benchmark::DoNotOptimize(live[slot]);
    }
    for (int i = 0; i < kLive; ++i)
        release(live[i]);
    state.SetItemsProcessed(state.iterations());
}

size_t NodeSize(int step)
{
    return step % 2 ? sizeof(Node12) : sizeof(Node16);
}

void PoolAllocateFree(benchmark::State& state)
{
    auto pool = std::make_unique<SmallBlockPool>();
    Churn(
        state, [&](int step) { return pool->Allocate(NodeSize(step)); },
        [&](void* node) { pool->Free(node); });
}

void HeapMallocFree(benchmark::State& state)
{
    Churn(
        state, [](int step) { return std::malloc(NodeSize(step)); },
        [](void* node) { std::free(node); });
}

void GlobalNewDelete(benchmark::State& state)
{
    // The nodes are trivially destructible, so releasing their storage directly is all that
    // delete would do.
    Churn(
        state,
        [](int step) -> void* {
            if (step % 2)
                return new Node12{};
            return new Node16{};
        },
        [](void* node) { ::operator delete(node); });
}

}  // namespace

BENCHMARK(PoolAllocateFree);
BENCHMARK(GlobalNewDelete);
BENCHMARK(HeapMallocFree);
BENCHMARK_MAIN();
