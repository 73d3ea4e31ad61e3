// The drawing operations written the plain way, as the game's renderer defines them.

#include "gfx/DrawReference.h"

#include <cstring>

#include "gfx/DrawPaths.h"
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

void BlitBlendReference(const Surface& src, const RECT& r, Surface& dst, int dx, int dy,
                        int alpha)
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

const DrawOps kReferenceDrawOps = {BlitKeyedReference, BlitBlendReference,
                                   BlitBlendKeyedReference, Double2xReference};
