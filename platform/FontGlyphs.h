#pragma once
// The screen font's glyphs, compiled in from assets/font/ascii.txt at build time. Row r of a
// glyph is one byte, the leftmost pixel in the high bit, row 0 at the top of the cell.

#include <cstdint>

constexpr int kGlyphWidth = 8;
constexpr int kGlyphHeight = 16;
constexpr int kFirstGlyph = 0x20;
// Printable ASCII, then a box for every byte that has no glyph of its own.
constexpr int kGlyphCount = 96;
constexpr int kMissingGlyph = kGlyphCount - 1;

extern const uint8_t kFontGlyphs[kGlyphCount][kGlyphHeight];

inline const uint8_t* GlyphFor(char c)
{
    int index = static_cast<unsigned char>(c) - kFirstGlyph;
    if (index < 0 || index >= kMissingGlyph)
        index = kMissingGlyph;
    return kFontGlyphs[index];
}
