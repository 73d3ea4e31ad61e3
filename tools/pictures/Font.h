#pragma once
// Our own bitmap lettering for the pictures (assets/pictures/font.txt for Latin letters,
// kana.txt for the title), drawn as text:
//
//   cell 5x9       the largest glyph
//   space 3        the advance of a space
//   glyph A        then up to cell-height rows of '#' (ink) and '.' (paper)
//
// Glyphs are trimmed to their inked columns, so letters are set proportionally.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/pictures/Image.h"

struct TextStyle {
    int scale = 1;
    std::vector<Colour> fill;  // horizontal bands from the top of the cell down
    Colour outline = kClear;   // a one-pixel rim around the magnified letters
    Colour shadow = kClear;    // cast one pixel right and down: the light comes from the top left
    int spacing = 1;           // paper columns between two glyphs, before magnifying
};

class BitmapFont {
public:
    bool Load(const std::string& path, std::string& error);

    // The text on clear paper, with a margin of one pixel for the rim and one more right and
    // below for the shadow. Characters the font lacks are left out and remembered (missing()).
    Image Render(const std::string& text, const TextStyle& style) const;
    int Measure(const std::string& text, const TextStyle& style) const;
    int cellHeight() const { return height; }
    const std::set<std::string>& missing() const { return missingGlyphs; }

private:
    struct Glyph {
        int width = 0;
        std::vector<std::string> rows;  // trimmed to the inked columns
    };
    // The glyphs of the text in order; a space is a blank glyph of the space's width.
    std::vector<const Glyph*> Layout(const std::string& text) const;

    int width = 0;
    int height = 0;
    Glyph space;
    std::map<std::string, Glyph> glyphs;
    mutable std::set<std::string> missingGlyphs;
};
