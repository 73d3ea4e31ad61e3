// The drawing operations eight pixels at a time with AVX2, chosen at run time on processors
// that have it. No pixel outside a row is read or written: the keyed copy ends its rows with
// one overlapping vector, the blends with masked loads and stores.
//
// The blend multiplies pairs of bytes with vpmaddubsw, which takes unsigned weights and signed
// pixels. Both pixel bytes are biased by -128, so with a + b = 256:
//   d*a + s*b = (d-128)*a + (s-128)*b + 128*256,
// and the biased sum lies in -32768..32512, inside 16 bits without saturating. Shifting it
// right arithmetically by 8 and adding 128 back gives (d*a + s*b) >> 8 exactly. This needs
// weights of 1..255 in a byte, which is all the public operations pass down.

#include <immintrin.h>

#include <initializer_list>

#include "gfx/DrawRows.h"

namespace {

__m256i Load(const uint32_t* at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

void Store(uint32_t* at, __m256i pixels)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), pixels);
}

// The first count lanes (count 0..7) set.
__m256i FirstLanes(int count)
{
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

__m256i LoadFirst(const uint32_t* at, __m256i lanes)
{
    return _mm256_maskload_epi32(reinterpret_cast<const int*>(at), lanes);
}

void StoreWhere(uint32_t* at, __m256i lanes, __m256i pixels)
{
    _mm256_maskstore_epi32(reinterpret_cast<int*>(at), lanes, pixels);
}

__m256i TransparentLanes(__m256i s, __m256i keyPixel)
{
    return _mm256_cmpeq_epi32(_mm256_and_si256(s, _mm256_set1_epi32(kColourBytes)), keyPixel);
}

// Byte pairs (a, b) to multiply the interleaved (d, s) bytes with.
__m256i Weights(int alpha)
{
    return _mm256_set1_epi16(static_cast<short>(alpha | ((256 - alpha) << 8)));
}

__m256i Blend(__m256i s, __m256i d, __m256i weights)
{
    const __m256i bias = _mm256_set1_epi8(static_cast<char>(0x80));
    __m256i dBiased = _mm256_xor_si256(d, bias), sBiased = _mm256_xor_si256(s, bias);
    __m256i low = _mm256_maddubs_epi16(weights, _mm256_unpacklo_epi8(dBiased, sBiased));
    __m256i high = _mm256_maddubs_epi16(weights, _mm256_unpackhi_epi8(dBiased, sBiased));
    __m256i packed = _mm256_packs_epi16(_mm256_srai_epi16(low, 8), _mm256_srai_epi16(high, 8));
    return _mm256_xor_si256(packed, bias);
}

// Rows of fewer than eight pixels, in the same manner four at a time.
void ShortKeyedRow(const uint32_t* s, uint32_t* d, int count, uint32_t keyPixel)
{
    if (count < 4) {
        for (int x = 0; x < count; x++) {
            if ((s[x] & kColourBytes) != keyPixel)
                d[x] = s[x];
        }
        return;
    }
    __m128i keyLanes = _mm_set1_epi32(static_cast<int>(keyPixel));
    const __m128i colourBytes = _mm_set1_epi32(kColourBytes);
    for (int x : {0, count - 4}) {
        __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x));
        __m128i destination = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + x));
        __m128i transparent = _mm_cmpeq_epi32(_mm_and_si128(source, colourBytes), keyLanes);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x),
                         _mm_or_si128(_mm_and_si128(transparent, destination),
                                      _mm_andnot_si128(transparent, source)));
    }
}

// Writes source where it is not transparent and leaves the destination's pixels elsewhere.
void KeyedStore(uint32_t* at, __m256i source, __m256i transparent)
{
    Store(at, _mm256_or_si256(_mm256_and_si256(transparent, Load(at)),
                              _mm256_andnot_si256(transparent, source)));
}

void KeyedRow(const uint32_t* s, uint32_t* d, int count, uint32_t key)
{
    // Whole vectors only: load the destination, choose per lane, store all eight. A masked
    // store (vpmaskmovd) would skip the load, but on AMD's cores it is microcoded into one
    // store per lane and runs several times slower than this, while plain loads, and/andnot/or
    // and stores run at full rate on every core of either vendor. The and/andnot/or choice
    // rather than vpblendvb: one micro-op each everywhere, where the four-operand blend is two
    // or three on Intel's cores.
    //
    // Sixteen pixels (a cache line, where the rows are aligned) that are all transparent are
    // not stored at all. Storing them back unchanged would still fetch the line for writing
    // and write it back dirty: such a copy waits on its stores, not on its tests, and a
    // landscape whose upper half is keyed sky went from 1.8 to 1.4 times a memcpy of the frame
    // by leaving those lines alone.
    //
    // A keyed copy gives the same bytes however often it is repeated, so a row's last pixels
    // are done by one more vector ending exactly at the row's end, overlapping the previous
    // one, and nothing outside the row is read or written.
    uint32_t keyPixel = KeyAsPixel(key);
    if (count < 8) {
        ShortKeyedRow(s, d, count, keyPixel);
        return;
    }
    __m256i keyLanes = _mm256_set1_epi32(keyPixel);
    int x = 0;
    for (; x + 16 <= count; x += 16) {
        __m256i low = Load(s + x), high = Load(s + x + 8);
        __m256i lowKeyed = TransparentLanes(low, keyLanes);
        __m256i highKeyed = TransparentLanes(high, keyLanes);
        if (_mm256_movemask_epi8(_mm256_and_si256(lowKeyed, highKeyed)) == -1)
            continue;
        KeyedStore(d + x, low, lowKeyed);
        KeyedStore(d + x + 8, high, highKeyed);
    }
    auto keyedVector = [&](int at) {
        __m256i source = Load(s + at);
        KeyedStore(d + at, source, TransparentLanes(source, keyLanes));
    };
    if (x + 8 <= count) {
        keyedVector(x);
        x += 8;
    }
    if (x < count)
        keyedVector(count - 8);
}

void BlendRow(const uint32_t* s, uint32_t* d, int count, int alpha)
{
    __m256i weights = Weights(alpha);
    int x = 0;
    for (; x + 8 <= count; x += 8)
        Store(d + x, Blend(Load(s + x), Load(d + x), weights));
    if (x < count) {
        __m256i lanes = FirstLanes(count - x);
        __m256i blended = Blend(LoadFirst(s + x, lanes), LoadFirst(d + x, lanes), weights);
        StoreWhere(d + x, lanes, blended);
    }
}

void BlendKeyedRow(const uint32_t* s, uint32_t* d, int count, int alpha, uint32_t key)
{
    __m256i keyLanes = _mm256_set1_epi32(KeyAsPixel(key));
    __m256i weights = Weights(alpha);
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        __m256i source = Load(s + x), destination = Load(d + x);
        __m256i blended = Blend(source, destination, weights);
        Store(d + x, _mm256_blendv_epi8(blended, destination, TransparentLanes(source, keyLanes)));
    }
    if (x < count) {
        __m256i lanes = FirstLanes(count - x);
        __m256i source = LoadFirst(s + x, lanes);
        __m256i blended = Blend(source, LoadFirst(d + x, lanes), weights);
        StoreWhere(d + x, _mm256_andnot_si256(TransparentLanes(source, keyLanes), lanes), blended);
    }
}

void DoubledRow(const uint32_t* s, uint32_t* even, uint32_t* odd, int count)
{
    const __m256i leftHalf = _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3);
    const __m256i rightHalf = _mm256_setr_epi32(4, 4, 5, 5, 6, 6, 7, 7);
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        __m256i source = Load(s + x);
        __m256i left = _mm256_permutevar8x32_epi32(source, leftHalf);
        __m256i right = _mm256_permutevar8x32_epi32(source, rightHalf);
        Store(even + 2 * x, left);
        Store(even + 2 * x + 8, right);
        Store(odd + 2 * x, left);
        Store(odd + 2 * x + 8, right);
    }
    for (; x < count; x++)
        even[2 * x] = even[2 * x + 1] = odd[2 * x] = odd[2 * x + 1] = s[x];
}

}  // namespace

const DrawOps kAvx2DrawOps = MakeDrawOps<KeyedRow, BlendRow, BlendKeyedRow, DoubledRow>();
