#pragma once
// The pixels of a window's client area, as the platform layer paints them and a backend
// presents them.

#include <cstdint>
#include <vector>

// A 32-bit bottom-up pixel store: pixel (x, y) is pixels[y * width + x], y from the bottom.
struct DibSection {
    int width = 0;
    int height = 0;
    uint32_t* pixels = nullptr;
    std::vector<uint32_t> storage;
};
