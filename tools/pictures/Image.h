#pragma once
// A picture being drawn: 0xRRGGBB colours in rows from the top down, the way a person reads a
// picture. kClear marks pixels that nothing has been drawn on; they become the colour key (or
// are refused) when the picture is finished.

#include <cstddef>
#include <cstdint>
#include <vector>

using Colour = uint32_t;
constexpr Colour kClear = 0x01000000;

class Image {
public:
    Image() = default;
    Image(int width, int height, Colour fill = kClear);

    int width() const { return w; }
    int height() const { return h; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    Colour at(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x]; }
    // Outside the picture: kClear.
    Colour get(int x, int y) const { return contains(x, y) ? at(x, y) : kClear; }
    // Outside the picture: nothing happens, so shapes may overlap the edges.
    void set(int x, int y, Colour c)
    {
        if (contains(x, y))
            pixels[static_cast<size_t>(y) * w + x] = c;
    }

    void fillRect(int x, int y, int width, int height, Colour c);
    // Copies src with its top-left corner at (x, y), leaving out its clear pixels.
    void paste(const Image& src, int x, int y);
    Image crop(int x, int y, int width, int height) const;
    // Each pixel becomes a factor x factor block.
    Image magnified(int factor) const;
    Image mirrored() const;

    // Every clear pixel that touches a drawn one (sideways or up and down) takes the colour:
    // the dark rim that keeps sprites and letters readable on any background.
    void outline(Colour ink);
    // A clear pixel with drawn pixels on all four sides would show the background through a
    // pinhole; it takes the colour of the pixel on its left.
    void fillPinholes();
    // Replaces every pixel of colour from by to.
    void recolour(Colour from, Colour to);

    const std::vector<Colour>& data() const { return pixels; }

private:
    int w = 0;
    int h = 0;
    std::vector<Colour> pixels;
};
