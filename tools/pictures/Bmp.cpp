#include "tools/pictures/Bmp.h"

#include <cstdint>

namespace {

void Put16(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(v & 0xFF);
    out.push_back(v >> 8 & 0xFF);
}

void Put32(std::vector<unsigned char>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

std::vector<unsigned char> EncodeBmp(const Image& image, Colour key)
{
    constexpr uint32_t kHeaders = 14 + 40;
    const uint32_t pixelBytes = static_cast<uint32_t>(image.width()) * image.height() * 4;
    std::vector<unsigned char> out;
    out.reserve(kHeaders + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, kHeaders + pixelBytes);
    Put32(out, 0);  // reserved
    Put32(out, kHeaders);
    Put32(out, 40);
    Put32(out, image.width());
    Put32(out, image.height());  // positive: the bottom row comes first
    Put16(out, 1);               // planes
    Put16(out, 32);              // bits per pixel
    Put32(out, 0);               // BI_RGB
    Put32(out, pixelBytes);
    Put32(out, 0);  // resolutions and colour counts: unused
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x) {
            Colour c = image.at(x, y) == kClear ? key : image.at(x, y);
            out.push_back(c & 0xFF);
            out.push_back(c >> 8 & 0xFF);
            out.push_back(c >> 16 & 0xFF);
            out.push_back(0);
        }
    return out;
}
