// Text output in our own 8x16 screen font. Device coordinates count y downward from the top,
// so device row r of a picture is its memory row height-1-r.

#include "platform/FontGlyphs.h"
#include "platform/Internal.h"

namespace {

// What an opaque background is painted with; the platform's default background colour.
constexpr uint32_t kOpaqueBackground = 0x00FFFFFF;

// COLORREF is 0x00BBGGRR; a pixel word is 0x00RRGGBB.
uint32_t PixelFromColorRef(COLORREF colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

void DrawGlyph(DibSection& target, int left, int top, const uint8_t* glyph, uint32_t ink,
               bool opaque)
{
    for (int row = 0; row < kGlyphHeight; row++) {
        int deviceRow = top + row;
        if (deviceRow < 0 || deviceRow >= target.height)
            continue;
        uint32_t* line = target.pixels + (target.height - 1 - deviceRow) * target.width;
        for (int column = 0; column < kGlyphWidth; column++) {
            int x = left + column;
            if (x < 0 || x >= target.width)
                continue;
            if (glyph[row] & (0x80 >> column))
                line[x] = ink;
            else if (opaque)
                line[x] = kOpaqueBackground;
        }
    }
}

}  // namespace

int SetBkMode(HDC dc, int mode)
{
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF colour)
{
    if (!dc)
        return 0xFFFFFFFF;  // CLR_INVALID
    COLORREF previous = dc->textColor;
    dc->textColor = colour;
    return previous;
}

BOOL TextOutA(HDC dc, int x, int y, const char* text, int length)
{
    if (!dc || !dc->bitmap || !dc->bitmap->pixels || (!text && length > 0) || length < 0)
        return FALSE;
    // Whatever font is selected, ours is the only one there is.
    uint32_t ink = PixelFromColorRef(dc->textColor);
    bool opaque = dc->bkMode == OPAQUE;
    for (int i = 0; i < length; i++) {
        int left = x + i * kGlyphWidth;
        if (left >= dc->bitmap->width)
            break;
        if (left + kGlyphWidth > 0)
            DrawGlyph(*dc->bitmap, left, y, GlyphFor(text[i]), ink, opaque);
    }
    return TRUE;
}
