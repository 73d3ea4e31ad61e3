#include "tools/pictures/Ico.h"

#include <cstdint>

namespace {

void Put16(std::vector<unsigned char>& out, uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void Put32(std::vector<unsigned char>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::vector<unsigned char> PackIco(const std::vector<IcoImage>& images)
{
    constexpr uint32_t kHeaderBytes = 6;
    constexpr uint32_t kEntryBytes = 16;
    std::vector<unsigned char> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // an icon, not a cursor
    Put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = kHeaderBytes + kEntryBytes * static_cast<uint32_t>(images.size());
    for (const IcoImage& image : images) {
        // Width and height in one byte each, where 0 stands for 256.
        out.push_back(static_cast<unsigned char>(image.size & 0xFF));
        out.push_back(static_cast<unsigned char>(image.size & 0xFF));
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        Put16(out, 1);     // colour planes
        Put16(out, 32);    // bits per pixel
        Put32(out, static_cast<uint32_t>(image.png.size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(image.png.size());
    }
    for (const IcoImage& image : images)
        out.insert(out.end(), image.png.begin(), image.png.end());
    return out;
}
