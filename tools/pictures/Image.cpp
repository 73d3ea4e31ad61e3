#include "tools/pictures/Image.h"

Image::Image(int width, int height, Colour fill)
    : w(width), h(height), pixels(static_cast<size_t>(width) * height, fill)
{
}

void Image::fillRect(int x, int y, int width, int height, Colour c)
{
    for (int row = y; row < y + height; ++row)
        for (int col = x; col < x + width; ++col)
            set(col, row, c);
}

void Image::paste(const Image& src, int x, int y)
{
    for (int row = 0; row < src.height(); ++row)
        for (int col = 0; col < src.width(); ++col)
            if (src.at(col, row) != kClear)
                set(x + col, y + row, src.at(col, row));
}

Image Image::crop(int x, int y, int width, int height) const
{
    Image part(width, height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            part.set(col, row, get(x + col, y + row));
    return part;
}

Image Image::magnified(int factor) const
{
    Image big(w * factor, h * factor);
    for (int row = 0; row < big.h; ++row)
        for (int col = 0; col < big.w; ++col)
            big.set(col, row, at(col / factor, row / factor));
    return big;
}

Image Image::mirrored() const
{
    Image flipped(w, h);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            flipped.set(w - 1 - col, row, at(col, row));
    return flipped;
}

void Image::outline(Colour ink)
{
    Image before = *this;
    auto drawn = [&](int x, int y) { return before.get(x, y) != kClear; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (!drawn(x, y) &&
                (drawn(x - 1, y) || drawn(x + 1, y) || drawn(x, y - 1) || drawn(x, y + 1)))
                set(x, y, ink);
    fillPinholes();
}

void Image::fillPinholes()
{
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x)
            if (at(x, y) == kClear && at(x - 1, y) != kClear && at(x + 1, y) != kClear &&
                at(x, y - 1) != kClear && at(x, y + 1) != kClear)
                set(x, y, at(x - 1, y));
}

void Image::recolour(Colour from, Colour to)
{
    for (Colour& c : pixels)
        if (c == from)
            c = to;
}
