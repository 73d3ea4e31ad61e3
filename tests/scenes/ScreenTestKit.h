#pragma once
// What the screen tests share: reading the 320x240 pictures the scenes draw, and a key press
// handled and drawn at the current clock.

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/GameApp.h"
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

// Whether the text stands on the canvas at (x, row) in text coordinates: every pixel that
// TextOutA inks in white on a blank picture is white on the canvas.
inline bool TextAt(GameHarness& game, int x, int row, const std::string& text)
{
    Surface& canvas = game.Canvas();
    Surface blank(game.App().window, 320, 240);
    SelectObject(blank.dc, canvas.font);
    SetTextColor(blank.dc, 0xFFFFFF);
    SetBkMode(blank.dc, TRANSPARENT);
    TextOutA(blank.dc, x, row, text.c_str(), static_cast<int>(text.size()));
    int inked = 0;
    for (int i = 0; i < 320 * 240; i++) {
        if ((blank.pixels[i] & 0xFFFFFF) == 0)
            continue;
        inked++;
        if ((canvas.pixels[i] & 0xFFFFFF) != 0xFFFFFF)
            return false;
    }
    return inked > 0;
}

inline void Press(GameHarness& game, int vk)
{
    scripted::PressKey(vk);
    game.RunFrames(1, 0);
}

}  // namespace screen
