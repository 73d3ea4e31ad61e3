#pragma once
// Pictures for tests: BMP files built byte by byte, surfaces filled with telling contents and
// their pixels read back, besides the file helpers.

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "gfx/Surface.h"
#include "tests/archive/TestFiles.h"

namespace testfiles {

// A BMP file: the 14-byte file header, a 40-byte info header and the pixel bytes right behind.
inline Bytes Bmp(int width, int height, int bitCount, const Bytes& pixelBytes)
{
    Bytes file(54, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLE(file, 2, static_cast<uint32_t>(54 + pixelBytes.size()), 4);
    PutLE(file, 10, 54, 4);
    PutLE(file, 14, 40, 4);
    PutLE(file, 18, static_cast<uint32_t>(width), 4);
    PutLE(file, 22, static_cast<uint32_t>(height), 4);
    PutLE(file, 26, 1, 2);
    PutLE(file, 28, static_cast<uint32_t>(bitCount), 2);
    file.insert(file.end(), pixelBytes.begin(), pixelBytes.end());
    return file;
}

// Every pixel a different word, fourth byte included, so a pixel from the wrong place shows.
inline void FillDistinct(Surface& surface, uint32_t seed = 0x9E3779B9)
{
    for (int i = 0; i < surface.width * surface.height; i++)
        surface.pixels[i] = seed ^ (static_cast<uint32_t>(i) * 0x01000193u + 0x5A5A0000u);
}

inline void Fill(Surface& surface, uint32_t word)
{
    std::fill(surface.pixels, surface.pixels + surface.width * surface.height, word);
}

inline uint32_t At(const Surface& surface, int x, int y)
{
    return surface.pixels[y * surface.width + x];
}

// The colour at (x, y), without the fourth byte.
inline uint32_t Pixel(const Surface& surface, int x, int y)
{
    return At(surface, x, y) & 0xFFFFFF;
}

inline bool AllBlack(const Surface& surface)
{
    return std::all_of(surface.pixels, surface.pixels + surface.width * surface.height,
                       [](uint32_t p) { return (p & 0xFFFFFF) == 0; });
}

// Whether the canvas shows the picture at half brightness, as half way through a fade.
inline bool Halved(const Surface& canvas, const Surface& picture)
{
    return std::equal(picture.pixels, picture.pixels + 320 * 240, canvas.pixels,
                      [](uint32_t p, uint32_t c) { return c == ((p >> 1) & 0x7F7F7F7F); });
}

// A rectangle's edges, to compare and print.
inline std::array<LONG, 4> Edges(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

inline std::vector<uint32_t> PixelsOf(const Surface& surface)
{
    return std::vector<uint32_t>(surface.pixels, surface.pixels + surface.width * surface.height);
}

// The surface as seen on screen: row 0 is the top.
inline uint32_t OnScreen(const Surface& surface, int x, int row)
{
    return surface.pixels[(surface.height - 1 - row) * surface.width + x];
}

}  // namespace testfiles
