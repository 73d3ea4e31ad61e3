#pragma once
// The two generators. Random is MT19937 seeded from the clock, producing its outputs in
// blocks of 624 so that a draw is a table read; LcgRandom is the never-seeded 15-bit
// generator of the spawner alone, so that its sequence repeats after every start.

#include <cstdint>

class Random {
public:
    void Seed(uint32_t s);
    uint32_t Next() {
        if (index >= 624) GenerateBlock();
        return output[index++];
    }

    // Twists the whole state and tempers all 624 outputs; the SIMD path and the plain one
    // give the same words.
    void GenerateBlock();
    void GenerateBlockReference();

    uint32_t state[624];
    uint32_t output[624];
    int32_t index = 624;
    bool simd = false;
};

class LcgRandom {
public:
    int Next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
    uint32_t state = 1;
};

extern Random theRandom;
extern LcgRandom theLcgRandom;
