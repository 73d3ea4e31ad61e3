#pragma once
// What the screen tests share: reading the 320x240 pictures the scenes draw, and a key press
// handled and drawn at the current clock.

#include <algorithm>
#include <cstdint>

#include "gfx/Surface.h"
#include "platform/scripted/Scripted.h"
#include "tests/support/GameHarness.h"

namespace screen {

// The colour at (x, y), without the fourth byte.
inline uint32_t Pixel(const Surface& surface, int x, int y)
{
    return surface.pixels[y * surface.width + x] & 0xFFFFFF;
}

inline void Fill(Surface& surface, uint32_t colour)
{
    std::fill_n(surface.pixels, surface.width * surface.height, colour);
}

inline bool AllBlack(const Surface& surface)
{
    return std::all_of(surface.pixels, surface.pixels + surface.width * surface.height,
                       [](uint32_t p) { return (p & 0xFFFFFF) == 0; });
}

// Whether the canvas shows the picture at half brightness, as half way through a fade.
inline bool Halved(const Surface& canvas, const Surface& picture)
{
    return std::equal(picture.pixels, picture.pixels + 320 * 240, canvas.pixels,
                      [](uint32_t p, uint32_t c) { return c == ((p >> 1) & 0x7F7F7F7F); });
}

inline void Press(GameHarness& game, int vk)
{
    scripted::PressKey(vk);
    game.RunFrames(1, 0);
}

}  // namespace screen
