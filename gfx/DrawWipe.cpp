// The ragged wipe of the screen transitions: each row takes the source from a randomly
// jittered edge to its right end.

#include <algorithm>
#include <cstring>

#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "random/Random.h"

void WipeRagged(const Surface& src, Surface& dst, int x, int spread)
{
    // The edge of a row lies in x - spread .. x + 3*spread - 1. A spread below 1 is a straight
    // edge; the generator still advances once per row, as it does for any spread.
    uint32_t range = spread > 0 ? 4u * static_cast<uint32_t>(spread) : 0;
    int width = std::min(src.width, dst.width);
    int height = std::min(src.height, dst.height);
    for (int y = 0; y < dst.height; y++) {
        uint32_t draw = theRandom.Next();
        if (y >= height)
            continue;
        int64_t offset = range ? int64_t(draw % range) - spread : 0;
        int64_t edge = std::clamp<int64_t>(x + offset, 0, width);
        uint32_t* to = dst.pixels + static_cast<size_t>(y) * dst.width;
        const uint32_t* from = src.pixels + static_cast<size_t>(y) * src.width;
        std::memcpy(to + edge, from + edge, static_cast<size_t>(width - edge) * 4);
    }
}
