// The block-wise generator, on its SIMD and its plain block path, against std::mt19937 doing the
// same work: one draw at a time, and a whole block of 624 draws.

#include <memory>
#include <random>

#include <benchmark/benchmark.h>

#include "random/Random.h"

namespace {

constexpr int kBlock = Random::kStateSize;

std::unique_ptr<Random> Seeded(bool simd)
{
    auto random = std::make_unique<Random>();
    random->Seed(20240601);
    random->simd = simd;
    return random;
}

void Draws(benchmark::State& state, bool simd)
{
    auto random = Seeded(simd);
    for (auto _ : state)
        benchmark::DoNotOptimize(random->Next());
    state.SetItemsProcessed(state.iterations());
}

void Blocks(benchmark::State& state, bool simd)
{
    auto random = Seeded(simd);
    for (auto _ : state) {
        random->GenerateBlock();
        benchmark::DoNotOptimize(random->output);
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

void RandomDrawSimd(benchmark::State& state)
{
    Draws(state, true);
}
void RandomDrawReference(benchmark::State& state)
{
    Draws(state, false);
}
void RandomBlockSimd(benchmark::State& state)
{
    Blocks(state, true);
}
void RandomBlockReference(benchmark::State& state)
{
    Blocks(state, false);
}

void StdMt19937Draw(benchmark::State& state)
{
    std::mt19937 engine(20240601);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine());
    state.SetItemsProcessed(state.iterations());
}

void StdMt19937Block(benchmark::State& state)
{
    std::mt19937 engine(20240601);
    uint32_t block[kBlock];
    for (auto _ : state) {
        for (uint32_t& word : block)
            word = engine();
        benchmark::DoNotOptimize(block);
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

}  // namespace

BENCHMARK(RandomDrawSimd);
BENCHMARK(RandomDrawReference);
BENCHMARK(StdMt19937Draw);
BENCHMARK(RandomBlockSimd);
BENCHMARK(RandomBlockReference);
BENCHMARK(StdMt19937Block);
BENCHMARK_MAIN();
