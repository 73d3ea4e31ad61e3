#pragma once
// The two generators. Random is MT19937 seeded from the clock, producing its outputs in
// blocks of 624 so that a draw is a table read; LcgRandom is the never-seeded 15-bit
// generator of the spawner alone, so that its sequence repeats after every start.

#include <cstdint>

class Random {
public:
    static constexpr int kStateSize = 624;
    static constexpr int kShift = 397;
    static constexpr uint32_t kMatrix = 0x9908B0DFu;
    static constexpr uint32_t kUpperMask = 0x80000000u;
    static constexpr uint32_t kLowerMask = 0x7FFFFFFFu;

    // The original MT19937 seeding by the 69069 generator; also picks the block path for this
    // processor and generates the first block.
    void Seed(uint32_t s);
    uint32_t Next()
    {
        if (index >= kStateSize)
            GenerateBlock();
        return output[index++];
    }

    // Takes up a state saved from another generator (state and index), as if it had drawn
    // the same numbers.
    void Restore(const uint32_t* savedState, int32_t savedIndex);

    // Twists the whole state and tempers all 624 outputs; the SIMD path and the plain one
    // give the same words.
    void GenerateBlock();
    void GenerateBlockReference();
    void GenerateBlockSimd();

    // One step of the recurrence, in place: word i from its top bit, the low bits of word
    // i + 1 and the partner word i + 397 (all mod 624).
    void TwistWord(int i)
    {
        uint32_t y = (state[i] & kUpperMask) | (state[(i + 1) % kStateSize] & kLowerMask);
        state[i] = state[(i + kShift) % kStateSize] ^ (y >> 1) ^ ((y & 1) ? kMatrix : 0);
    }

    alignas(16) uint32_t state[kStateSize] = {};
    alignas(16) uint32_t output[kStateSize] = {};
    int32_t index = kStateSize;
    bool simd = false;
};

class LcgRandom {
public:
    int Next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
    uint32_t state = 1;
};

extern Random theRandom;
extern LcgRandom theLcgRandom;
