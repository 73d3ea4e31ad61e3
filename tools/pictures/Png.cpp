#include "tools/pictures/Png.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace {

uint32_t Crc32(const unsigned char* bytes, size_t size, uint32_t crc = 0)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::vector<unsigned char>& bytes)
{
    uint32_t a = 1, b = 0;
    for (unsigned char byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void PutBigEndian32(std::vector<unsigned char>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(v >> shift & 0xFF);
}

void PutChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data)
{
    PutBigEndian32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<unsigned char> StoredZlib(const std::vector<unsigned char>& raw)
{
    std::vector<unsigned char> out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(length & 0xFF);
        out.push_back(length >> 8);
        out.push_back(~length & 0xFF);
        out.push_back((~length >> 8) & 0xFF);
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + length);
        at += length;
    } while (at < raw.size());
    PutBigEndian32(out, Adler32(raw));
    return out;
}

}  // namespace

std::vector<unsigned char> EncodePng(const Image& image)
{
    // Index 0 is the transparent clear; the image's colours follow in the order first met.
    std::map<Colour, unsigned char> indexOf = {{kClear, 0}};
    std::vector<unsigned char> palette = {0, 0, 0};
    std::vector<unsigned char> rows;
    for (int y = 0; y < image.height(); ++y) {
        rows.push_back(0);  // no filter
        for (int x = 0; x < image.width(); ++x) {
            const Colour c = image.at(x, y);
            auto found = indexOf.find(c);
            if (found == indexOf.end()) {
                if (indexOf.size() == 256)
                    return {};
                found = indexOf.emplace(c, static_cast<unsigned char>(indexOf.size())).first;
                palette.insert(palette.end(),
                               {static_cast<unsigned char>(c >> 16),
                                static_cast<unsigned char>(c >> 8), static_cast<unsigned char>(c)});
            }
            rows.push_back(found->second);
        }
    }

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBigEndian32(header, static_cast<uint32_t>(image.width()));
    PutBigEndian32(header, static_cast<uint32_t>(image.height()));
    header.insert(header.end(),
                  {8, 3, 0, 0, 0});  // 8 bits, indexed, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "PLTE", palette);
    PutChunk(png, "tRNS", {0});  // only index 0 is transparent
    PutChunk(png, "IDAT", StoredZlib(rows));
    PutChunk(png, "IEND", {});
    return png;
}
