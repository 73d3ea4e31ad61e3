#pragma once
// The drawing operations as plain loops, pixel by pixel and byte by byte through the product
// table. They are the definition the fast paths are checked against, and a path of their own
// on processors without SIMD. They do not clip: callers keep rectangles inside both surfaces.

#include <cstdint>

#include "platform/Platform.h"

class Surface;

void BlitKeyedReference(const Surface& src, const RECT& r, Surface& dst, int dx, int dy,
                        uint32_t key);
void BlitBlendReference(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, int alpha);
void BlitBlendKeyedReference(const Surface& src, const RECT& r, Surface& dst, int dx, int dy,
                             int alpha, uint32_t key);
void Double2xReference(const Surface& src, Surface& dst);
// Nearest-neighbour, one pixel at a time, testing every pixel of the box against both surfaces.
void BlitRotatedReference(uint32_t* dstPixels, int dstW, int dstH, const uint32_t* srcPixels,
                          int srcW, int srcH, int angle);
