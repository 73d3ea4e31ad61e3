// The public drawing operations: they keep every rectangle inside both surfaces, settle the
// blend weights that need no arithmetic, and hand the rest to the path this processor runs
// fastest (see DrawPaths.h).

#include "gfx/Draw.h"

#include <algorithm>
#include <cstring>

#include "gfx/DrawPaths.h"
#include "gfx/Surface.h"

// WebAssembly has no AVX2 and no processor to ask: its 128-bit SIMD runs the SSE2 path.
#if defined(__x86_64__) || defined(__i386__)
#define KORIMO_X86 1
#endif
#ifdef __wasm_simd128__
#define KORIMO_WASM_SIMD true
#else
#define KORIMO_WASM_SIMD false
#endif

namespace {

DrawPath ChosenAtStart()
{
#ifdef KORIMO_X86
    // Runs before main, where the processor's features must be read first.
    __builtin_cpu_init();
#endif
    return BestDrawPath();
}

DrawPath currentPath = ChosenAtStart();

const DrawOps& Ops()
{
    switch (currentPath) {
#ifdef KORIMO_X86
    case DrawPath::Avx2: return kAvx2DrawOps;
#else
    case DrawPath::Avx2: break;
#endif
    case DrawPath::Sse2: return kSse2DrawOps;
    case DrawPath::Reference: break;
    }
    return kReferenceDrawOps;
}

// Trims the rectangle, and moves the destination point along with it, until both lie inside
// their surfaces. False when nothing is left to draw, or when the destination's picture is not
// drawn this time. A caller's mistake then loses pixels at an edge instead of writing over
// memory that is not the picture's.
bool ClipBlit(const Surface& src, RECT& r, const Surface& dst, int& dx, int& dy)
{
    if (dst.drawingSkipped)
        return false;
    // In 64 bits, so no combination of coordinates can overflow on the way.
    int64_t left = r.left, top = r.top, right = r.right, bottom = r.bottom, x = dx, y = dy;
    int64_t cutLeft = std::max({int64_t(0), -left, -x});
    int64_t cutBottom = std::max({int64_t(0), -top, -y});
    left += cutLeft, x += cutLeft;
    top += cutBottom, y += cutBottom;
    right = std::min({right, int64_t(src.width), left + dst.width - x});
    bottom = std::min({bottom, int64_t(src.height), top + dst.height - y});
    if (left >= right || top >= bottom)
        return false;
    r = {LONG(left), LONG(top), LONG(right), LONG(bottom)};
    dx = int(x), dy = int(y);
    return true;
}

void CopyRows(const Surface& src, const RECT& r, Surface& dst, int dx, int dy)
{
    size_t bytes = size_t(r.right - r.left) * sizeof(uint32_t);
    for (int y = r.top; y < r.bottom; y++)
        std::memcpy(dst.pixels + size_t(dy + y - r.top) * dst.width + dx,
                    src.pixels + size_t(y) * src.width + r.left, bytes);
}

}  // namespace

bool CanUseDrawPath(DrawPath path)
{
    switch (path) {
#ifdef KORIMO_X86
    case DrawPath::Avx2: return __builtin_cpu_supports("avx2");
    case DrawPath::Sse2: return __builtin_cpu_supports("sse2");
#else
    case DrawPath::Avx2: return false;
    case DrawPath::Sse2: return KORIMO_WASM_SIMD;
#endif
    case DrawPath::Reference: return true;
    }
    return false;
}

DrawPath BestDrawPath()
{
    for (DrawPath path : {DrawPath::Avx2, DrawPath::Sse2}) {
        if (CanUseDrawPath(path))
            return path;
    }
    return DrawPath::Reference;
}

bool UseDrawPath(DrawPath path)
{
    if (!CanUseDrawPath(path))
        return false;
    currentPath = path;
    return true;
}

DrawPath CurrentDrawPath()
{
    return currentPath;
}

const char* DrawPathName(DrawPath path)
{
    switch (path) {
    case DrawPath::Avx2: return "AVX2";
    case DrawPath::Sse2: return "SSE2";
    case DrawPath::Reference: break;
    }
    return "reference";
}

void BlitKeyed(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, uint32_t key)
{
    RECT inside = r;
    if (ClipBlit(src, inside, dst, dx, dy))
        Ops().keyed(src, inside, dst, dx, dy, key);
}

void BlitBlend(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, int alpha)
{
    // Weight 256 keeps the destination as it is and weight 0 takes the source exactly.
    alpha = std::clamp(alpha, 0, 256);
    RECT inside = r;
    if (alpha == 256 || !ClipBlit(src, inside, dst, dx, dy))
        return;
    if (alpha == 0)
        CopyRows(src, inside, dst, dx, dy);
    else
        Ops().blend(src, inside, dst, dx, dy, alpha);
}

void BlitBlendKeyed(const Surface& src, const RECT& r, Surface& dst, int dx, int dy, int alpha,
                    uint32_t key)
{
    alpha = std::clamp(alpha, 0, 256);
    RECT inside = r;
    if (alpha == 256 || !ClipBlit(src, inside, dst, dx, dy))
        return;
    if (alpha == 0)
        Ops().keyed(src, inside, dst, dx, dy, key);
    else
        Ops().blendKeyed(src, inside, dst, dx, dy, alpha, key);
}

void Double2x(const Surface& src, Surface& dst)
{
    // A destination that cannot hold the doubled picture gets nothing at all.
    if (2 * src.width > dst.width || 2 * src.height > dst.height)
        return;
    Ops().doubled(src, dst);
}
