#pragma once
// The interchangeable implementations behind BlitKeyed, BlitBlend, BlitBlendKeyed and
// Double2x: the plain reference loops, SSE2 (every x86-64 processor) and AVX2 (chosen at run
// time where the processor has it). All give the same bytes; tests and benchmarks switch
// between them.

#include <cstdint>

#include "platform/Platform.h"

class Surface;

enum class DrawPath { Reference, Sse2, Avx2 };

// Whether this processor can run the path.
bool CanUseDrawPath(DrawPath path);
// The fastest path this processor can run; the drawing operations start on it.
DrawPath BestDrawPath();
// Makes every drawing operation take path from now on. False (and nothing changes) when the
// processor cannot run it.
bool UseDrawPath(DrawPath path);
DrawPath CurrentDrawPath();
const char* DrawPathName(DrawPath path);

// One path's operations. The public functions of Draw.h clip first and settle blend weights 0
// and 256 themselves, so these see rectangles inside both surfaces and weights 1..255.
struct DrawOps {
    void (*keyed)(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, uint32_t key);
    void (*blend)(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, int alpha);
    void (*blendKeyed)(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, int alpha,
                       uint32_t key);
    void (*doubled)(const Surface& src, Surface& dst);
};

extern const DrawOps kReferenceDrawOps;
extern const DrawOps kSse2DrawOps;
extern const DrawOps kAvx2DrawOps;
