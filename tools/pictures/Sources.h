#pragma once
// What the pictures are made from: the folder assets/pictures with its palette, its three
// bitmap fonts, the sprite grids and the credits. Faults found while drawing are collected
// in problems, one line each, so that one build reports all of them.

#include <string>
#include <vector>

#include "tools/pictures/Font.h"
#include "tools/pictures/Image.h"
#include "tools/pictures/Palette.h"

struct Sources {
    // Loads the palette and the fonts; false with a one-line reason if any is unusable.
    bool Load(const std::string& folder, std::string& error);

    // The sprite grid "<stem>.txt"; a faulty grid is reported and gives an empty image.
    Image Grid(const std::string& stem);
    // The lines of "<stem>.txt" without comments and blank lines.
    std::vector<std::string> Lines(const std::string& stem);

    std::string folder;
    Palette palette;
    BitmapFont latin;
    BitmapFont kana;
    BitmapFont digits;
    std::vector<std::string> problems;
};
