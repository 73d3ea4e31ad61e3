#include "scenes/MenuPage.h"

#include <algorithm>
#include <cstring>

#include "archive/ResourceArchive.h"
#include "gfx/Surface.h"
#include "scenes/ScenePicture.h"

namespace menu {

namespace {

// The colour the game's own screens draw their text in (the timer of a run among them), put
// back after every line: a run's pictures, and so its replay, must not depend on which
// screens were visited before it.
constexpr COLORREF kGameText = 0xFFFFFF;

// An eighth of the brightness, so the lines read over the opening picture.
uint32_t Darken(uint32_t pixel)
{
    return (pixel >> 3) & 0x1F1F1F;
}

}  // namespace

Surface* LoadBackdrop(HWND window)
{
    Surface* backdrop = LoadScenePicture(window, resourceArchive, "opening.bmp", kExactlyScreen);
    std::transform(backdrop->pixels, backdrop->pixels + size_t(backdrop->width) * backdrop->height,
                   backdrop->pixels, Darken);
    return backdrop;
}

void Text(Surface& canvas, int x, int row, const std::string& text, COLORREF colour)
{
    SetTextColor(canvas.dc, colour);
    TextOutA(canvas.dc, x, row, text.c_str(), static_cast<int>(text.size()));
    SetTextColor(canvas.dc, kGameText);
}

void Caption(Surface& canvas, const char* caption)
{
    const int width = static_cast<int>(std::strlen(caption)) * kGlyphWidth;
    Text(canvas, (canvas.width - width) / 2, kCaptionRow, caption, kYellow);
}

}  // namespace menu
