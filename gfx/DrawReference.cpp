// The drawing operations written the plain way, as the game's renderer defines them.

#include "gfx/DrawReference.h"

#include <cstring>

#include "gfx/DrawPaths.h"
#include "gfx/DrawRotated.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"

namespace {

// A source pixel is transparent when its blue, green and red bytes equal the key's (written
// 0x00BBGGRR); its fourth byte is not compared.
bool IsTransparent(uint32_t pixel, uint32_t key)
{
    uint32_t blue = pixel & 0xFF, green = (pixel >> 8) & 0xFF, red = (pixel >> 16) & 0xFF;
    return blue == ((key >> 16) & 0xFF) && green == ((key >> 8) & 0xFF) && red == (key & 0xFF);
}

uint32_t Blend(uint32_t s, uint32_t d, int alpha)
{
    int beta = 256 - alpha;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        int dByte = (d >> shift) & 0xFF, sByte = (s >> shift) & 0xFF;
        uint32_t mixed = (ProductTable[dByte][alpha] + ProductTable[sByte][beta]) >> 8;
        result |= mixed << shift;
    }
    return result;
}

}  // namespace

void BlitKeyedReference(const Surface& src, const RECT& r, Surface& dst, int dx, int dy,
                        uint32_t key)
{
    for (int y = r.top; y < r.bottom; y++) {
        for (int x = r.left; x < r.right; x++) {
            uint32_t pixel = src.pixels[y * src.width + x];
            if (!IsTransparent(pixel, key))
                dst.pixels[(dy + y - r.top) * dst.width + dx + x - r.left] = pixel;
        }
    }
}

void BlitBlendReference(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, int alpha)
{
    for (int y = r.top; y < r.bottom; y++) {
        for (int x = r.left; x < r.right; x++) {
            uint32_t& d = dst.pixels[(dy + y - r.top) * dst.width + dx + x - r.left];
            d = Blend(src.pixels[y * src.width + x], d, alpha);
        }
    }
}

void BlitBlendKeyedReference(const Surface& src, const RECT& r, Surface& dst, int dx, int dy,
                             int alpha, uint32_t key)
{
    for (int y = r.top; y < r.bottom; y++) {
        for (int x = r.left; x < r.right; x++) {
            uint32_t pixel = src.pixels[y * src.width + x];
            if (IsTransparent(pixel, key))
                continue;
            uint32_t& d = dst.pixels[(dy + y - r.top) * dst.width + dx + x - r.left];
            d = Blend(pixel, d, alpha);
        }
    }
}

void Double2xReference(const Surface& src, Surface& dst)
{
    if (2 * src.width > dst.width || 2 * src.height > dst.height)
        return;
    for (int y = 0; y < src.height; y++) {
        uint32_t* even = dst.pixels + 2 * y * dst.width;
        for (int x = 0; x < src.width; x++)
            even[2 * x] = even[2 * x + 1] = src.pixels[y * src.width + x];
        std::memcpy(even + dst.width, even, 2 * src.width * sizeof(uint32_t));
    }
}

const DrawOps kReferenceDrawOps = {BlitKeyedReference, BlitBlendReference, BlitBlendKeyedReference,
                                   Double2xReference};

void BlitRotatedReference(uint32_t* dstPixels, int dstW, int dstH, const uint32_t* srcPixels,
                          int srcW, int srcH, int angle)
{
    TurnedBox box = TurnBox(srcW, srcH, dstW, dstH, angle);
    // Wrapping 32-bit arithmetic, as the fixed-point walk has always had; unsigned keeps the
    // wrap defined.
    auto cosF = static_cast<uint32_t>(box.cosF), sinF = static_cast<uint32_t>(box.sinF);
    auto rowU = static_cast<uint32_t>(box.startU), rowV = static_cast<uint32_t>(box.startV);
    for (int j = 0; j < box.height; j++) {
        int y = box.originY + j;
        uint32_t u = rowU, v = rowV;
        for (int i = 0; i < box.width; i++) {
            int x = box.originX + i;
            // Arithmetic shifts of the signed values; the last source column and row are
            // never sampled (the bounds are srcW - 1 and srcH - 1).
            int sx = static_cast<int32_t>(u) >> 16, sy = static_cast<int32_t>(v) >> 16;
            if (sx >= 0 && sx < srcW - 1 && sy >= 0 && sy < srcH - 1 && x >= 0 && x < dstW &&
                y >= 0 && y < dstH)
                dstPixels[y * dstW + x] = srcPixels[sy * srcW + sx];
            u += cosF;
            v += sinF;
        }
        rowU -= sinF;
        rowV += cosF;
    }
}
