#pragma once
// Sprites drawn as text, one character a pixel (assets/pictures/*.txt):
//
//   size 32x16          the size of one frame
//   frame               then one row of characters per pixel row;
//   ..kkkk..            '.' is clear, every other character a colour of the palette
//   frame               the next frame, placed to the right of the one before
//
// Lines starting with "//" are comments.

#include <string>

#include "tools/pictures/Image.h"
#include "tools/pictures/Palette.h"

// The frames side by side in one row.
bool LoadSpriteGrid(const std::string& path, const Palette& palette, Image& sheet,
                    std::string& error);
