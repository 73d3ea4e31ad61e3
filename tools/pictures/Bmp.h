#pragma once
// The file form of every picture in the archive: a 14-byte file header, a 40-byte info header
// (32 bits a pixel, BI_RGB, positive height) and the pixels from the bottom row up, four bytes
// each in the order blue, green, red, 0. Rows of 32-bit pixels need no padding.

#include <vector>

#include "tools/pictures/Image.h"

// Clear pixels take the key colour (0xRRGGBB).
std::vector<unsigned char> EncodeBmp(const Image& image, Colour key);
