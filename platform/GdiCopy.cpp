// Copies between pixel stores: BitBlt between two device contexts and StretchDIBits from raw
// DIB pixels. Destinations are in device coordinates (y downward from the top); both copies
// are clipped to both pictures, so a rectangle hanging over an edge copies what overlaps.

#include <algorithm>
#include <cstring>

#include "platform/Internal.h"

namespace {

struct PixelView {
    const uint32_t* pixels;
    int width;
    int height;
};

// Copies width x height pixels from device (srcX, srcY) of src to device (x, y) of dst,
// clipped to both. Returns the number of rows copied.
int CopyDeviceRect(DibSection& dst, int x, int y, int width, int height, PixelView src, int srcX,
                   int srcY)
{
    // Clip every edge against the source first, then the destination; a shift of one side
    // moves the other by the same amount.
    auto clip = [](int& a, int& b, int& size, int limitA, int limitB) {
        if (a < 0) {
            b -= a;
            size += a;
            a = 0;
        }
        if (b < 0) {
            a -= b;
            size += b;
            b = 0;
        }
        size = std::min({size, limitA - a, limitB - b});
    };
    clip(srcX, x, width, src.width, dst.width);
    clip(srcY, y, height, src.height, dst.height);
    if (width <= 0 || height <= 0)
        return 0;

    // Rows are stored bottom-up. Within one picture an overlapping copy must not read a row it
    // has already written: walk from the far end when the destination lies below the source.
    bool backwards = src.pixels == dst.pixels && y > srcY;
    for (int i = 0; i < height; i++) {
        int row = backwards ? height - 1 - i : i;
        const uint32_t* from = src.pixels + (src.height - 1 - (srcY + row)) * src.width + srcX;
        uint32_t* to = dst.pixels + (dst.height - 1 - (y + row)) * dst.width + x;
        std::memmove(to, from, static_cast<size_t>(width) * 4);
    }
    return height;
}

bool HasPixels(HDC dc)
{
    return dc && dc->bitmap && dc->bitmap->pixels;
}

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop)
{
    if (rop != SRCCOPY || !HasPixels(dst) || !HasPixels(src))
        return FALSE;
    const DibSection& from = *src->bitmap;
    CopyDeviceRect(*dst->bitmap, x, y, width, height, {from.pixels, from.width, from.height}, srcX,
                   srcY);
    return TRUE;
}

int StretchDIBits(HDC dc, int dstX, int dstY, int dstWidth, int dstHeight, int srcX, int srcY,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop)
{
    // The game copies pictures unscaled only; anything else is refused rather than drawn wrong.
    if (rop != SRCCOPY || usage != DIB_RGB_COLORS || !HasPixels(dc) || !bits || !info)
        return 0;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biBitCount != 32 || header.biCompression != BI_RGB || header.biWidth <= 0 ||
        header.biHeight <= 0)
        return 0;
    if (dstWidth != srcWidth || dstHeight != srcHeight || srcWidth <= 0 || srcHeight <= 0)
        return 0;
    // The source rectangle counts rows from the bottom of the DIB: its top device row is
    // height - (srcY + srcHeight).
    PixelView src = {static_cast<const uint32_t*>(bits), header.biWidth, header.biHeight};
    int srcTop = header.biHeight - (srcY + srcHeight);
    return CopyDeviceRect(*dc->bitmap, dstX, dstY, srcWidth, srcHeight, src, srcX, srcTop);
}
