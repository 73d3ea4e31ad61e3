// The rotated copy of the title logo: nearest-neighbour, by inverse mapping in 16.16 fixed
// point, so the inner loop only adds.

#include <cmath>

#include "gfx/Draw.h"
#include "gfx/Tables.h"

void BlitRotated(uint32_t* dstPixels, int dstW, int dstH, const uint32_t* srcPixels, int srcW,
                 int srcH, int angle)
{
    // A full turn is 255 steps of the sine table; the cosine is 64 steps further.
    int step = angle & 255;
    double s = SineTable[step], c = SineTable[step + 64];

    // The box the turned picture fills, centred in the destination.
    int boxW = static_cast<int>(std::fabs(srcW * c) + std::fabs(srcH * s) + 0.5);
    int boxH = static_cast<int>(std::fabs(srcW * s) + std::fabs(srcH * c) + 0.5);
    int cosF = static_cast<int>(c * 65536), sinF = static_cast<int>(s * 65536);
    int originX = (dstW - boxW) / 2, originY = (dstH - boxH) / 2;

    // Wrapping 32-bit arithmetic, as the fixed-point walk has always had; unsigned keeps the
    // wrap defined.
    auto wrap = [](int64_t v) { return static_cast<uint32_t>(v); };
    uint32_t rowU = wrap(int64_t(srcW / 2) * 65536 - int64_t(cosF) * (boxW / 2) -
                         int64_t(sinF) * (-(boxH / 2)));
    uint32_t rowV = wrap(int64_t(srcH / 2) * 65536 - int64_t(sinF) * (boxW / 2) +
                         int64_t(cosF) * (-(boxH / 2)));
    for (int j = 0; j < boxH; j++) {
        int y = originY + j;
        uint32_t u = rowU, v = rowV;
        for (int i = 0; i < boxW; i++) {
            int x = originX + i;
            // Arithmetic shifts of the signed values; the last source column and row are
            // never sampled (the bounds are srcW - 1 and srcH - 1).
            int sx = static_cast<int32_t>(u) >> 16, sy = static_cast<int32_t>(v) >> 16;
            if (sx >= 0 && sx < srcW - 1 && sy >= 0 && sy < srcH - 1 && x >= 0 && x < dstW &&
                y >= 0 && y < dstH)
                dstPixels[y * dstW + x] = srcPixels[sy * srcW + sx];
            u += static_cast<uint32_t>(cosF);
            v += static_cast<uint32_t>(sinF);
        }
        rowU -= static_cast<uint32_t>(sinF);
        rowV += static_cast<uint32_t>(cosF);
    }
}
