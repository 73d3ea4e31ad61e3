#pragma once
// The look of the screens laid over the title menu (the options, the replays): the opening
// picture at an eighth of its brightness, a caption at the top and lines of our font in the
// palette's colours, 16 pixels a line.

#include <string>

#include "platform/Platform.h"

class Surface;

namespace menu {

// Colours of the palette, as COLORREF (0x00BBGGRR).
constexpr COLORREF kWhite = 0xE6F0F4;
constexpr COLORREF kGrey = 0xB49A9C;
constexpr COLORREF kYellow = 0x40C8F2;
constexpr COLORREF kCoral = 0x627AF4;
constexpr COLORREF kCyan = 0xE2E25E;

constexpr int kGlyphWidth = 8;
constexpr int kLineHeight = 16;
constexpr int kCaptionRow = 4;

// The darkened opening picture, for CopyPicture.
Surface* LoadBackdrop(HWND window);
void Text(Surface& canvas, int x, int row, const std::string& text, COLORREF colour);
// The screen's name, centred on the top line.
void Caption(Surface& canvas, const char* caption);

}  // namespace menu
