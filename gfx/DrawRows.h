#pragma once
// What the fast paths share: walking the rows of a blit or of a doubling, and the pixel rules
// written once for the few pixels at the end of a row.
//
// Everything here has internal linkage on purpose. DrawAvx2.cpp is compiled for AVX2, and an
// inline function shared with the baseline files could be merged by the linker into the one
// copy that only AVX2 processors can run.

#include <cstddef>
#include <cstdint>

#include "gfx/DrawPaths.h"
#include "gfx/Surface.h"

namespace {

constexpr uint32_t kColourBytes = 0x00FFFFFF;

// Keys are written 0x00BBGGRR; a pixel word is 0xQQRRGGBB. The key as the colour bytes of a
// pixel, for comparing with a pixel masked by kColourBytes.
inline uint32_t KeyAsPixel(uint32_t key)
{
    return ((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF);
}

// Each of the four bytes: (d*alpha + s*(256-alpha)) >> 8.
inline uint32_t BlendPixel(uint32_t s, uint32_t d, uint32_t alpha)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t dByte = (d >> shift) & 0xFF, sByte = (s >> shift) & 0xFF;
        result |= ((dByte * alpha + sByte * (256 - alpha)) >> 8) << shift;
    }
    return result;
}

// Calls Row(sourceRow, destinationRow, count, args...) for each row of the rectangle, source
// pixel (x, y) landing on (dx + x - left, dy + y - top).
template <auto Row, typename... Args>
void BlitRows(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, Args... args)
{
    // Rows and strides in locals: a row's stores could alias the surfaces' own fields, so the
    // compiler would otherwise read them again, and multiply, for every row.
    const size_t fromStride = static_cast<size_t>(src.width);
    const size_t toStride = static_cast<size_t>(dst.width);
    const uint32_t* from = src.pixels + static_cast<size_t>(r.top) * fromStride + r.left;
    uint32_t* to = dst.pixels + static_cast<size_t>(dy) * toStride + dx;
    const int count = r.right - r.left;
    for (int y = r.top; y < r.bottom; y++, from += fromStride, to += toStride)
        Row(from, to, count, args...);
}

// Calls Row(sourceRow, evenRow, oddRow, count) for each source row: both destination rows
// receive every source pixel twice.
template <auto Row>
void DoubleRows(const Surface& src, Surface& dst)
{
    for (int y = 0; y < src.height; y++) {
        uint32_t* even = dst.pixels + static_cast<size_t>(2 * y) * dst.width;
        Row(src.pixels + static_cast<size_t>(y) * src.width, even, even + dst.width, src.width);
    }
}

template <auto KeyedRow, auto BlendRow, auto BlendKeyedRow, auto DoubledRow>
constexpr DrawOps MakeDrawOps()
{
    return {BlitRows<KeyedRow, uint32_t>, BlitRows<BlendRow, int>,
            BlitRows<BlendKeyedRow, int, uint32_t>, DoubleRows<DoubledRow>};
}

}  // namespace
