#pragma once
// Every picture the game loads, with the size, frame layout and colour key the game expects,
// and the build that draws them all and turns them into BMP files.

#include <string>
#include <vector>

#include "tools/pictures/Image.h"
#include "tools/pictures/Sources.h"

enum class Key { None, Black, White, Green, Blue, Red };

struct PictureRecipe {
    const char* name;  // the file name in the archive
    int frameWidth;
    int height;
    int frames;  // side by side in one row
    Key key;
    Image (*build)(Sources&);  // null: drawn as the grid "<name without .bmp>.txt"
};

const std::vector<PictureRecipe>& PictureRecipes();
// The key as 0xRRGGBB (Key::None gives 0, which is never used).
Colour KeyColour(Key key);

struct BuiltPicture {
    std::string name;
    std::vector<unsigned char> bmp;
};

// Draws every picture from the sources in sourceFolder and checks each against its recipe: its
// size, and that it uses the palette only (clear pixels in keyed pictures, pure black in
// whole screens). False with every fault found, one per line, in error.
bool BuildPictures(const std::string& sourceFolder, std::vector<BuiltPicture>& pictures,
                   std::string& error);
