// Loading a surface from a BMP picture in the resource archive. The pixels are read right
// behind the two headers; rows stay in the file's order, so its first (bottom) row becomes
// memory row 0. Anything the loader cannot read whole leaves a blank picture and a one-line
// loadError() naming the resource, and nothing is read beyond the entry.

#include <cstring>
#include <vector>

#include "archive/ResourceArchive.h"
#include "gfx/BmpLayout.h"
#include "gfx/Surface.h"

namespace {

// A 24-bit file pads each row to a whole number of 32-bit words.
uint32_t RowBytes(int width, int bitCount)
{
    return bitCount == 24 ? (static_cast<uint32_t>(width) * 3 + 3) & ~3u
                          : static_cast<uint32_t>(width) * 4;
}

void ReadTriplets(ResourceArchive& archive, uint32_t* pixels, int width, int height)
{
    std::vector<uint8_t> row(RowBytes(width, 24));
    for (int y = 0; y < height; y++) {
        archive.Read(row.data(), static_cast<uint32_t>(row.size()));
        uint32_t* out = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; x++) {
            const uint8_t* bgr = &row[x * 3];
            out[x] = bgr[0] | (bgr[1] << 8) | (bgr[2] << 16);
        }
    }
}

}  // namespace

void Surface::Load(HWND window, ResourceArchive& archive, const char* name)
{
    // Whatever goes wrong, the caller gets a usable blank surface: 1x1 until the header has
    // given a size it can trust.
    auto blank = [&](int w, int h) {
        AllocateHeader(w, h, false);
        AttachDibSection(window);
    };
    if (!archive.Open(name)) {
        Fail(name, "not in the archive");
        return blank(1, 1);
    }

    uint32_t size = archive.Remaining();
    uint8_t fileHeader[kBmpFileHeaderSize];
    BITMAPINFOHEADER info;
    static_assert(sizeof info == kBmpInfoHeaderSize);
    if (size < kBmpHeadersSize) {
        Fail(name, "picture is too short (%u bytes; its headers alone take %d)", size,
             kBmpHeadersSize);
        archive.Close();
        return blank(1, 1);
    }
    archive.Read(fileHeader, sizeof fileHeader);
    archive.Read(&info, sizeof info);

    bool headerKnown = fileHeader[0] == 'B' && fileHeader[1] == 'M' &&
                       info.biSize == kBmpInfoHeaderSize;
    bool sizeUsable = headerKnown && info.biWidth > 0 && info.biWidth <= kBmpMaxSide &&
                      info.biHeight > 0 && info.biHeight <= kBmpMaxSide;
    uint64_t pixelBytes = sizeUsable ? uint64_t(RowBytes(info.biWidth, info.biBitCount)) *
                                           info.biHeight
                                     : 0;
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M')
        Fail(name, "not a BMP picture (no \"BM\" signature)");
    else if (info.biSize != kBmpInfoHeaderSize)
        Fail(name, "picture header is damaged (header size %u, expected %d)", info.biSize,
             kBmpInfoHeaderSize);
    else if (info.biWidth <= 0 || info.biWidth > kBmpMaxSide)
        Fail(name, "picture header is damaged (width %d)", info.biWidth);
    else if (info.biHeight <= 0 || info.biHeight > kBmpMaxSide)
        Fail(name, "picture header is damaged (height %d%s)", info.biHeight,
             info.biHeight < 0 ? ": top-down rows are not read" : "");
    else if (info.biBitCount != 24 && info.biBitCount != 32)
        Fail(name, "%u-bit pictures are not read (only 24 and 32)", info.biBitCount);
    else if (info.biCompression != BI_RGB)
        Fail(name, "compressed pictures are not read (compression %u)", info.biCompression);
    else if (pixelBytes > size - kBmpHeadersSize)
        Fail(name, "picture is cut short (%u pixel bytes of %llu)", size - kBmpHeadersSize,
             static_cast<unsigned long long>(pixelBytes));

    if (!failure.empty()) {
        archive.Close();
        bool keepSize = sizeUsable && int64_t(info.biWidth) * info.biHeight <= kBmpMaxBlankPixels;
        return keepSize ? blank(info.biWidth, info.biHeight) : blank(1, 1);
    }

    blank(info.biWidth, info.biHeight);
    if (info.biBitCount == 32)
        archive.Read(pixels, static_cast<uint32_t>(pixelBytes));
    else
        ReadTriplets(archive, pixels, width, height);
    archive.Close();
}
