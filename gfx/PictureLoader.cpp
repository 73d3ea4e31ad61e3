// Decoding a surface from the bytes of a BMP picture, such as an entry of the resource archive.
// The pixels are read right behind the two headers; rows stay in the file's order, so its first
// (bottom) row becomes memory row 0. Anything the loader cannot read whole leaves a blank
// picture and a one-line error naming the resource, and nothing is read beyond the bytes.

#include "gfx/PictureLoader.h"

#include <cstdio>
#include <cstring>

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

struct PictureHeaders {
    uint8_t file[kBmpFileHeaderSize];
    BITMAPINFOHEADER info;

    bool IsBmp() const { return file[0] == 'B' && file[1] == 'M'; }
    bool HasSize() const
    {
        return IsBmp() && info.biSize == kBmpInfoHeaderSize && info.biWidth > 0 &&
               info.biWidth <= kBmpMaxSide && info.biHeight > 0 && info.biHeight <= kBmpMaxSide;
    }
    uint64_t PixelBytes() const
    {
        return HasSize() ? uint64_t(RowBytes(info.biWidth, info.biBitCount)) * info.biHeight : 0;
    }
    // Whether a damaged picture's blank may take the size the header claims.
    bool SizeTrusted() const
    {
        return HasSize() && int64_t(info.biWidth) * info.biHeight <= kBmpMaxBlankPixels;
    }
};
static_assert(sizeof(BITMAPINFOHEADER) == kBmpInfoHeaderSize);

// Why the picture cannot be read, in a few words; empty when it can.
std::string FaultOf(const PictureHeaders& picture, size_t pixelBytesPresent)
{
    const BITMAPINFOHEADER& info = picture.info;
    char text[120] = "";
    if (!picture.IsBmp())
        std::snprintf(text, sizeof text, "not a BMP picture (no \"BM\" signature)");
    else if (info.biSize != kBmpInfoHeaderSize)
        std::snprintf(text, sizeof text, "picture header is damaged (header size %u, expected %d)",
                      info.biSize, kBmpInfoHeaderSize);
    else if (info.biWidth <= 0 || info.biWidth > kBmpMaxSide)
        std::snprintf(text, sizeof text, "picture header is damaged (width %d)", info.biWidth);
    else if (info.biHeight <= 0 || info.biHeight > kBmpMaxSide)
        std::snprintf(text, sizeof text, "picture header is damaged (height %d%s)", info.biHeight,
                      info.biHeight < 0 ? ": top-down rows are not read" : "");
    else if (info.biBitCount != 24 && info.biBitCount != 32)
        std::snprintf(text, sizeof text, "%u-bit pictures are not read (only 24 and 32)",
                      info.biBitCount);
    else if (info.biCompression != BI_RGB)
        std::snprintf(text, sizeof text, "compressed pictures are not read (compression %u)",
                      info.biCompression);
    else if (picture.PixelBytes() > pixelBytesPresent)
        std::snprintf(text, sizeof text, "picture is cut short (%zu pixel bytes of %llu)",
                      pixelBytesPresent, static_cast<unsigned long long>(picture.PixelBytes()));
    return text;
}

void ReadTriplets(const uint8_t* rows, uint32_t* pixels, int width, int height)
{
    const uint32_t rowBytes = RowBytes(width, 24);
    for (int y = 0; y < height; y++) {
        const uint8_t* row = rows + size_t{rowBytes} * y;
        uint32_t* out = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; x++) {
            const uint8_t* bgr = &row[x * 3];
            out[x] = bgr[0] | (bgr[1] << 8) | (bgr[2] << 16);
        }
    }
}

}  // namespace

Surface* DecodePicture(HWND window, std::span<const uint8_t> bytes, const char* name,
                       std::string& error)
{
    // Whatever goes wrong, the caller gets a usable blank surface: 1x1 unless the header has
    // given a size it can trust.
    error.clear();
    auto fail = [&](const std::string& fault, int w, int h) {
        error = std::string(name) + ": " + fault;
        return new Surface(window, w, h);
    };
    if (bytes.size() < kBmpHeadersSize) {
        char text[80];
        std::snprintf(text, sizeof text,
                      "picture is too short (%zu bytes; its headers alone take %d)", bytes.size(),
                      kBmpHeadersSize);
        return fail(text, 1, 1);
    }

    PictureHeaders picture;
    std::memcpy(picture.file, bytes.data(), sizeof picture.file);
    std::memcpy(&picture.info, bytes.data() + sizeof picture.file, sizeof picture.info);
    std::string fault = FaultOf(picture, bytes.size() - kBmpHeadersSize);
    if (!fault.empty()) {
        return picture.SizeTrusted() ? fail(fault, picture.info.biWidth, picture.info.biHeight)
                                     : fail(fault, 1, 1);
    }

    const uint8_t* pixelBytes = bytes.data() + kBmpHeadersSize;
    auto* surface = new Surface(window, picture.info.biWidth, picture.info.biHeight);
    if (picture.info.biBitCount == 32)
        std::memcpy(surface->pixels, pixelBytes, static_cast<size_t>(picture.PixelBytes()));
    else
        ReadTriplets(pixelBytes, surface->pixels, surface->width, surface->height);
    return surface;
}

Surface* LoadPicture(HWND window, ResourceArchive& archive, const char* name, std::string& error)
{
    if (!archive.Open(name)) {
        error = std::string(name) + ": not in the archive";
        return new Surface(window, 1, 1);
    }
    const std::span<const uint8_t> bytes = archive.EntryBytes();
    archive.Close();
    return DecodePicture(window, bytes, name, error);
}
