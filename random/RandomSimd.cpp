// The block generation four words per instruction. The twist runs in two vector stretches:
// words 0..223, whose partners 397..623 are still untouched, and words 227..622, whose
// partners 0..395 lie 227 words back and so were finished by earlier vectors. The words in
// between (224..226 read a partner on both sides of the wrap) and the last one (its neighbour
// is word 0, already twisted) take the scalar step.

#include "random/Random.h"

#if defined(__SSE2__)

#include <emmintrin.h>

namespace {

// Twists the four words at `word` in place; `partner` points at their four partner words.
inline void TwistFour(uint32_t* word, const uint32_t* partner)
{
    const __m128i upperMask = _mm_set1_epi32(static_cast<int>(Random::kUpperMask));
    const __m128i lowerMask = _mm_set1_epi32(static_cast<int>(Random::kLowerMask));
    const __m128i matrix = _mm_set1_epi32(static_cast<int>(Random::kMatrix));

    __m128i current = _mm_loadu_si128(reinterpret_cast<const __m128i*>(word));
    __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(word + 1));
    __m128i y = _mm_or_si128(_mm_and_si128(current, upperMask), _mm_and_si128(next, lowerMask));
    // All ones where y is odd: its low bit moved to the top and spread by the arithmetic shift.
    __m128i odd = _mm_srai_epi32(_mm_slli_epi32(y, 31), 31);
    __m128i twisted = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(partner)),
                                    _mm_srli_epi32(y, 1));
    twisted = _mm_xor_si128(twisted, _mm_and_si128(odd, matrix));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(word), twisted);
}

inline __m128i TemperFour(__m128i y)
{
    y = _mm_xor_si128(y, _mm_srli_epi32(y, 11));
    y = _mm_xor_si128(
        y, _mm_and_si128(_mm_slli_epi32(y, 7), _mm_set1_epi32(static_cast<int>(0x9D2C5680u))));
    y = _mm_xor_si128(
        y, _mm_and_si128(_mm_slli_epi32(y, 15), _mm_set1_epi32(static_cast<int>(0xEFC60000u))));
    return _mm_xor_si128(y, _mm_srli_epi32(y, 18));
}

}  // namespace

void Random::GenerateBlockSimd()
{
    constexpr int kFirstStretchEnd = 224;                     // words 0..223: partner not wrapped
    constexpr int kSecondStretchBegin = kStateSize - kShift;  // 227: partner wrapped, finished
    constexpr int kLastWord = kStateSize - 1;
    static_assert(kFirstStretchEnd % 4 == 0 && (kLastWord - kSecondStretchBegin) % 4 == 0);

    for (int i = 0; i < kFirstStretchEnd; i += 4)
        TwistFour(&state[i], &state[i + kShift]);
    for (int i = kFirstStretchEnd; i < kSecondStretchBegin; ++i)
        TwistWord(i);
    for (int i = kSecondStretchBegin; i < kLastWord; i += 4)
        TwistFour(&state[i], &state[i + kShift - kStateSize]);
    TwistWord(kLastWord);

    for (int i = 0; i < kStateSize; i += 4) {
        __m128i y = _mm_load_si128(reinterpret_cast<const __m128i*>(&state[i]));
        _mm_store_si128(reinterpret_cast<__m128i*>(&output[i]), TemperFour(y));
    }
    index = 0;
}

#else

// Without SSE2 the plain path is the only one; Seed never selects this.
void Random::GenerateBlockSimd()
{
    GenerateBlockReference();
}

#endif
