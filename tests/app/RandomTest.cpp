#include <cstdint>
#include <memory>
#include <random>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "app/Random.h"

namespace {

// MT19937 as Matsumoto and Nishimura published it in 1998: seeded by the 69069 generator,
// twisted one word at a time on demand, tempered at each draw.
class TextbookTwister {
public:
    explicit TextbookTwister(uint32_t seed)
    {
        for (uint32_t& word : mt) {
            word = seed & 0xFFFF0000u;
            seed = 69069 * seed + 1;
            word |= (seed & 0xFFFF0000u) >> 16;
            seed = 69069 * seed + 1;
        }
    }

    uint32_t Next()
    {
        static const uint32_t mag01[2] = {0, 0x9908B0DFu};
        if (mti >= N) {
            int kk = 0;
            uint32_t y;
            for (; kk < N - M; ++kk) {
                y = (mt[kk] & 0x80000000u) | (mt[kk + 1] & 0x7FFFFFFFu);
                mt[kk] = mt[kk + M] ^ (y >> 1) ^ mag01[y & 1];
            }
            for (; kk < N - 1; ++kk) {
                y = (mt[kk] & 0x80000000u) | (mt[kk + 1] & 0x7FFFFFFFu);
                mt[kk] = mt[kk + (M - N)] ^ (y >> 1) ^ mag01[y & 1];
            }
            y = (mt[N - 1] & 0x80000000u) | (mt[0] & 0x7FFFFFFFu);
            mt[N - 1] = mt[M - 1] ^ (y >> 1) ^ mag01[y & 1];
            mti = 0;
        }
        uint32_t y = mt[mti++];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9D2C5680u;
        y ^= (y << 15) & 0xEFC60000u;
        y ^= y >> 18;
        return y;
    }

    // The standard library's engine started from the same state, as a second opinion on the
    // recurrence and the tempering.
    std::mt19937 AsStandardEngine() const
    {
        std::stringstream text;
        for (uint32_t word : mt)
            text << word << ' ';
        text << N;  // the position, for libraries that store one: "block used up"
        std::mt19937 engine;
        text >> engine;
        return engine;
    }

private:
    static constexpr int N = 624;
    static constexpr int M = 397;
    uint32_t mt[N];
    int mti = N;
};

const uint32_t kSeeds[] = {0, 1, 4357, 0x12345678u, 0x80000000u, 0xFFFFFFFFu, 3141592653u};

TEST(Random, DrawsFollowTheReferenceGeneratorAcrossBlocks)
{
    for (uint32_t seed : kSeeds) {
        auto random = std::make_unique<Random>();
        random->Seed(seed);
        TextbookTwister textbook(seed);
        std::mt19937 standard = textbook.AsStandardEngine();
        // Three blocks and a bit: the first boundary at draw 624 is where a wrong index or a
        // stale block shows.
        for (int draw = 0; draw < 3 * 624 + 5; ++draw) {
            uint32_t expected = textbook.Next();
            ASSERT_EQ(random->Next(), expected) << "seed " << seed << ", draw " << draw;
            ASSERT_EQ(standard(), expected) << "seed " << seed << ", draw " << draw;
        }
    }
}

TEST(Random, EveryBlockPathGivesTheSameSequence)
{
    auto vector = std::make_unique<Random>();
    auto plain = std::make_unique<Random>();
    std::mt19937 seeds(99);
    for (int round = 0; round < 200; ++round) {
        uint32_t seed = seeds();
        vector->Seed(seed);
        plain->Seed(seed);
        vector->simd = true;
        plain->simd = false;
        for (int block = 0; block < 3; ++block) {
            vector->GenerateBlock();
            plain->GenerateBlock();
            ASSERT_EQ(std::vector<uint32_t>(vector->output, vector->output + 624),
                      std::vector<uint32_t>(plain->output, plain->output + 624))
                << "seed " << seed << ", block " << block;
            ASSERT_EQ(std::vector<uint32_t>(vector->state, vector->state + 624),
                      std::vector<uint32_t>(plain->state, plain->state + 624))
                << "seed " << seed << ", block " << block;
        }
    }
}

TEST(LcgRandom, StartsWithTheFixedSequence)
{
    LcgRandom fresh;
    EXPECT_EQ(fresh.Next(), 41);
    EXPECT_EQ(fresh.Next(), 18467);
    EXPECT_EQ(fresh.Next(), 6334);
}

}  // namespace
