#pragma once
// The software renderer. Coordinates are those of Surface (y upward from the bottom);
// rectangles are {left, top, right, bottom} with right and bottom exclusive. Keys are
// 0x00BBGGRR and ignore the fourth byte; blend weights run 0..256 (others are taken as the
// nearer end) and weigh the destination. Callers keep rectangles inside both surfaces; the
// blits still trim whatever reaches past an edge, so a mistake loses pixels instead of
// writing outside the picture. Double2x draws nothing when the destination is too small.

#include <cstdint>

#include "platform/Platform.h"

class Surface;

void BlitKeyed(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, uint32_t key);
void BlitBlend(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, int alpha);
void BlitBlendKeyed(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, int alpha,
                    uint32_t key);
void BlitRotated(uint32_t* dstPixels, int dstW, int dstH, const uint32_t* srcPixels, int srcW,
                 int srcH, int angle);
void Double2x(const Surface& src, Surface& dst);
void WipeRagged(const Surface& src, Surface& dst, int x, int spread);
