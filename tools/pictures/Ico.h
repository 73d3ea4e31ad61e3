#pragma once
// The Windows icon file: one .ico holding the icon at every size, each image a PNG (which
// every Windows since Vista reads in an icon, and which keeps the 256-pixel one small).

#include <vector>

struct IcoImage {
    int size;                        // pixels each way, 1 to 256
    std::vector<unsigned char> png;  // the image, encoded
};

// The .ico file of the images, in the order given.
std::vector<unsigned char> PackIco(const std::vector<IcoImage>& images);
