#pragma once
// PNG files for the desktop's icons: 8-bit indexed colour, clear pixels fully transparent. Our
// pictures use at most the 32 colours of the palette, so an index a pixel keeps the files
// small even though the image data is stored without compression.

#include <vector>

#include "tools/pictures/Image.h"

// Empty when the image has more than 255 colours besides clear.
std::vector<unsigned char> EncodePng(const Image& image);
