#include <cstdint>
#include <memory>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "random/Random.h"

namespace {

// The standard library's MT19937, started from the state that the 1998 paper's seeding by the
// 69069 generator gives: the published generator, word for word.
std::mt19937 TextbookTwister(uint32_t seed)
{
    std::stringstream state;
    for (int i = 0; i < 624; ++i) {
        uint32_t word = seed & 0xFFFF0000u;
        seed = 69069 * seed + 1;
        word |= (seed & 0xFFFF0000u) >> 16;
        seed = 69069 * seed + 1;
        state << word << ' ';
    }
    state << 624;  // the position, for libraries that store one: the block is used up
    std::mt19937 engine;
    state >> engine;
    return engine;
}

TEST(Random, DrawsFollowTheTextbookGeneratorAcrossBlocksWithOrWithoutSimd)
{
    for (uint32_t seed : {0u, 1u, 4357u, 0x12345678u, 0x80000000u, 0xFFFFFFFFu, 3141592653u}) {
        for (bool simd : {false, true}) {
            auto random = std::make_unique<Random>();
            random->Seed(seed);
            random->simd = simd;
            std::mt19937 textbook = TextbookTwister(seed);
            // Three blocks and a bit: the boundary at draw 624 shows a wrong index or a stale
            // block.
            for (int draw = 0; draw < 3 * 624 + 5; ++draw)
                ASSERT_EQ(random->Next(), textbook())
                    << "seed " << seed << ", draw " << draw << (simd ? ", simd" : "");
        }
    }
}

}  // namespace
