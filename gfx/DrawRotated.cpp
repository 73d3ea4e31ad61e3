// The rotated copy of the title logo: nearest-neighbour, by inverse mapping in 16.16 fixed
// point.
//
// Each row of the box samples the source along a straight line, so the pixels whose sample
// falls inside the source and whose place falls inside the destination form one run, found
// with a few divisions per row. The inner loop then copies that run without a test; the plain
// loop in DrawReference.cpp, which tests every pixel, is what it must equal byte for byte.

#include "gfx/DrawRotated.h"

#include <emmintrin.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "gfx/Draw.h"
#include "gfx/DrawReference.h"
#include "gfx/Tables.h"

namespace {

int64_t FloorDiv(int64_t a, int64_t b)  // b > 0
{
    int64_t q = a / b;
    return q - (a % b != 0 && a < 0);
}

// Narrows [first, end) to the i for which low <= start + i*step <= high.
void KeepInside(int64_t start, int64_t step, int64_t low, int64_t high, int64_t& first,
                int64_t& end)
{
    if (step < 0) {
        start = -start, step = -step;
        std::swap(low, high);
        low = -low, high = -high;
    }
    if (step == 0) {
        if (start < low || start > high)
            end = first;
        return;
    }
    first = std::max(first, -FloorDiv(start - low, step));  // the ceiling of (low-start)/step
    end = std::min(end, FloorDiv(high - start, step) + 1);
}

// Whether every source position the box samples fits in 32 bits: then the fixed-point walk
// never wraps, and exact arithmetic gives what the wrapping walk gives. The positions are
// linear in i and j, so the corners bound them.
bool WalkStaysIn32Bits(const TurnedBox& box)
{
    int64_t lastI = std::max(box.width - 1, 0), lastJ = std::max(box.height - 1, 0);
    for (int64_t i : {int64_t(0), lastI}) {
        for (int64_t j : {int64_t(0), lastJ}) {
            int64_t u = box.startU + i * box.cosF - j * box.sinF;
            int64_t v = box.startV + i * box.sinF + j * box.cosF;
            if (u < INT32_MIN || u > INT32_MAX || v < INT32_MIN || v > INT32_MAX)
                return false;
        }
    }
    return true;
}

// Copies count samples of the source, taken at (u, v), (u + du, v + dv), ... in 16.16 fixed
// point, to out. Four source offsets are worked out at once with SSE2, which every x86-64
// processor has, then the four pixels are fetched one by one: the loads go to scattered
// places, and a gather instruction is slow on some cores and slower still on others.
// Needs source sides below 32768, so that a row number times the width fits vpmaddwd.
void CopyRun(uint32_t* out, int64_t count, const uint32_t* src, int srcW, uint32_t u, uint32_t v,
             int du, int dv)
{
    int64_t i = 0;
    if (count >= 4) {
        auto lanes = [](uint32_t start, int step) {
            return _mm_setr_epi32(static_cast<int>(start), static_cast<int>(start + step),
                                  static_cast<int>(start + 2u * step),
                                  static_cast<int>(start + 3u * step));
        };
        __m128i us = lanes(u, du), vs = lanes(v, dv);
        const __m128i uStep = _mm_set1_epi32(4 * du), vStep = _mm_set1_epi32(4 * dv);
        const __m128i uStep2 = _mm_set1_epi32(8 * du), vStep2 = _mm_set1_epi32(8 * dv);
        const __m128i width = _mm_set1_epi32(srcW);  // the high half of each lane is 0
        auto copyFour = [&](int64_t at, __m128i us, __m128i vs) {
            __m128i rows = _mm_srai_epi32(vs, 16), columns = _mm_srai_epi32(us, 16);
            __m128i offsets = _mm_add_epi32(_mm_madd_epi16(rows, width), columns);
            // Two offsets to a register; unsigned, so that they index without widening.
            auto low = static_cast<uint64_t>(_mm_cvtsi128_si64(offsets));
            auto high =
                static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(offsets, offsets)));
            out[at] = src[static_cast<uint32_t>(low)];
            out[at + 1] = src[low >> 32];
            out[at + 2] = src[static_cast<uint32_t>(high)];
            out[at + 3] = src[high >> 32];
        };
        // Eight at a time in two independent halves, then four.
        for (; i + 8 <= count; i += 8) {
            copyFour(i, us, vs);
            copyFour(i + 4, _mm_add_epi32(us, uStep), _mm_add_epi32(vs, vStep));
            us = _mm_add_epi32(us, uStep2);
            vs = _mm_add_epi32(vs, vStep2);
        }
        if (i + 4 <= count) {
            copyFour(i, us, vs);
            i += 4;
        }
        u += static_cast<uint32_t>(i) * static_cast<uint32_t>(du);
        v += static_cast<uint32_t>(i) * static_cast<uint32_t>(dv);
    }
    // Unsigned steps: the step past the run's end may leave the 32-bit range unused.
    for (; i < count; i++) {
        out[i] = src[(static_cast<int32_t>(v) >> 16) * srcW + (static_cast<int32_t>(u) >> 16)];
        u += static_cast<uint32_t>(du);
        v += static_cast<uint32_t>(dv);
    }
}

}  // namespace

TurnedBox TurnBox(int srcW, int srcH, int dstW, int dstH, int angle)
{
    // A full turn is 255 steps of the sine table; the cosine is 64 steps further.
    int step = angle & 255;
    double s = SineTable[step], c = SineTable[step + 64];

    TurnedBox box;
    box.width = static_cast<int>(std::fabs(srcW * c) + std::fabs(srcH * s) + 0.5);
    box.height = static_cast<int>(std::fabs(srcW * s) + std::fabs(srcH * c) + 0.5);
    box.cosF = static_cast<int>(c * 65536);
    box.sinF = static_cast<int>(s * 65536);
    box.originX = (dstW - box.width) / 2;
    box.originY = (dstH - box.height) / 2;
    // Box pixel (i, j) samples the source around its centre, i and j counted from the box's.
    box.startU = int64_t(srcW / 2) * 65536 - int64_t(box.cosF) * (box.width / 2) +
                 int64_t(box.sinF) * (box.height / 2);
    box.startV = int64_t(srcH / 2) * 65536 - int64_t(box.sinF) * (box.width / 2) -
                 int64_t(box.cosF) * (box.height / 2);
    return box;
}

void BlitRotated(uint32_t* dstPixels, int dstW, int dstH, const uint32_t* srcPixels, int srcW,
                 int srcH, int angle)
{
    TurnedBox box = TurnBox(srcW, srcH, dstW, dstH, angle);
    if (!WalkStaysIn32Bits(box) || srcW >= 32768 || srcH >= 32768) {
        // Pictures far larger than any the game has: the wrapping walk, pixel by pixel.
        BlitRotatedReference(dstPixels, dstW, dstH, srcPixels, srcW, srcH, angle);
        return;
    }
    // A sample is taken when 0 <= u >> 16 < srcW - 1 and alike for v: the source's last
    // column and row are never sampled.
    const int64_t uHigh = int64_t(srcW - 1) * 65536 - 1, vHigh = int64_t(srcH - 1) * 65536 - 1;
    int firstRow = std::max(0, -box.originY), endRow = std::min(box.height, dstH - box.originY);
    for (int j = firstRow; j < endRow; j++) {
        int64_t rowU = box.startU - int64_t(j) * box.sinF;
        int64_t rowV = box.startV + int64_t(j) * box.cosF;
        int64_t first = std::max(0, -box.originX);
        int64_t end = std::min(box.width, dstW - box.originX);
        KeepInside(rowU, box.cosF, 0, uHigh, first, end);
        KeepInside(rowV, box.sinF, 0, vHigh, first, end);
        if (first >= end)
            continue;
        CopyRun(dstPixels + int64_t(box.originY + j) * dstW + box.originX + first, end - first,
                srcPixels, srcW, static_cast<uint32_t>(rowU + first * box.cosF),
                static_cast<uint32_t>(rowV + first * box.sinF), box.cosF, box.sinF);
    }
}
