// The drawing operations four pixels at a time with SSE2, which every x86-64 processor has.
// Blends widen each byte to 16 bits: d*alpha + s*(256-alpha) never exceeds 255*256, so the
// 16-bit products and their sum are exact and match the product-table loop byte for byte.

#include <emmintrin.h>

#include "gfx/DrawRows.h"

namespace {

__m128i Load(const uint32_t* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

void Store(uint32_t* at, __m128i pixels)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), pixels);
}

// All ones in the lanes whose colour bytes equal the key.
__m128i TransparentLanes(__m128i s, __m128i keyPixel)
{
    return _mm_cmpeq_epi32(_mm_and_si128(s, _mm_set1_epi32(kColourBytes)), keyPixel);
}

// Where mask is set, a; elsewhere b.
__m128i Select(__m128i mask, __m128i a, __m128i b)
{
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

__m128i Blend(__m128i s, __m128i d, __m128i alpha, __m128i beta)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i low = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), alpha),
                                _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), beta));
    __m128i high = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), alpha),
                                 _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), beta));
    return _mm_packus_epi16(_mm_srli_epi16(low, 8), _mm_srli_epi16(high, 8));
}

void KeyedRow(const uint32_t* s, uint32_t* d, int count, uint32_t key)
{
    uint32_t keyPixel = KeyAsPixel(key);
    __m128i keyLanes = _mm_set1_epi32(keyPixel);
    int x = 0;
    for (; x + 4 <= count; x += 4) {
        __m128i source = Load(s + x);
        Store(d + x, Select(TransparentLanes(source, keyLanes), Load(d + x), source));
    }
    for (; x < count; x++) {
        if ((s[x] & kColourBytes) != keyPixel)
            d[x] = s[x];
    }
}

void BlendRow(const uint32_t* s, uint32_t* d, int count, int alpha)
{
    __m128i alphaLanes = _mm_set1_epi16(static_cast<short>(alpha));
    __m128i betaLanes = _mm_set1_epi16(static_cast<short>(256 - alpha));
    int x = 0;
    for (; x + 4 <= count; x += 4)
        Store(d + x, Blend(Load(s + x), Load(d + x), alphaLanes, betaLanes));
    for (; x < count; x++)
        d[x] = BlendPixel(s[x], d[x], alpha);
}

void BlendKeyedRow(const uint32_t* s, uint32_t* d, int count, int alpha, uint32_t key)
{
    uint32_t keyPixel = KeyAsPixel(key);
    __m128i keyLanes = _mm_set1_epi32(keyPixel);
    __m128i alphaLanes = _mm_set1_epi16(static_cast<short>(alpha));
    __m128i betaLanes = _mm_set1_epi16(static_cast<short>(256 - alpha));
    int x = 0;
    for (; x + 4 <= count; x += 4) {
        __m128i source = Load(s + x), destination = Load(d + x);
        __m128i blended = Blend(source, destination, alphaLanes, betaLanes);
        Store(d + x, Select(TransparentLanes(source, keyLanes), destination, blended));
    }
    for (; x < count; x++) {
        if ((s[x] & kColourBytes) != keyPixel)
            d[x] = BlendPixel(s[x], d[x], alpha);
    }
}

void DoubledRow(const uint32_t* s, uint32_t* even, uint32_t* odd, int count)
{
    int x = 0;
    for (; x + 4 <= count; x += 4) {
        __m128i source = Load(s + x);
        __m128i left = _mm_unpacklo_epi32(source, source);
        __m128i right = _mm_unpackhi_epi32(source, source);
        Store(even + 2 * x, left);
        Store(even + 2 * x + 4, right);
        Store(odd + 2 * x, left);
        Store(odd + 2 * x + 4, right);
    }
    for (; x < count; x++)
        even[2 * x] = even[2 * x + 1] = odd[2 * x] = odd[2 * x + 1] = s[x];
}

}  // namespace

const DrawOps kSse2DrawOps = MakeDrawOps<KeyedRow, BlendRow, BlendKeyedRow, DoubledRow>();
