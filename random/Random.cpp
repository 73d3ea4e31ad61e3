#include "random/Random.h"

Random theRandom;
LcgRandom theLcgRandom;

namespace {

bool CpuHasSimd()
{
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("sse2");
#else
    return false;
#endif
}

uint32_t Temper(uint32_t y)
{
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

}  // namespace

void Random::Seed(uint32_t s)
{
    for (uint32_t& word : state) {
        word = s & 0xFFFF0000u;
        s = 69069u * s + 1;
        word |= s >> 16;
        s = 69069u * s + 1;
    }
    simd = CpuHasSimd();
    GenerateBlock();
}

void Random::Restore(const uint32_t* savedState, int32_t savedIndex)
{
    // Every output of a block is its state word tempered, so the state says it all.
    for (int i = 0; i < kStateSize; ++i) {
        state[i] = savedState[i];
        output[i] = Temper(state[i]);
    }
    index = savedIndex;
    simd = CpuHasSimd();
}

void Random::GenerateBlock()
{
    if (simd)
        GenerateBlockSimd();
    else
        GenerateBlockReference();
}

void Random::GenerateBlockReference()
{
    // In increasing i, so that from i = 227 on the partner word i + 397 (mod 624) is one
    // already twisted in this pass, exactly as the published recurrence has it.
    for (int i = 0; i < kStateSize; ++i)
        TwistWord(i);
    for (int i = 0; i < kStateSize; ++i)
        output[i] = Temper(state[i]);
    index = 0;
}
