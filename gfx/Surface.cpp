// Construction and pixel access of the one pixel container.

#include "gfx/Surface.h"

#include <algorithm>
#include <cstring>

namespace {

// The block holds the info header, 4 zero bytes behind it, and for a surface without a device
// context the pixels. The pixels start on a cache line, as the DIB sections' do: vector loads
// and stores that straddle two lines cost the blits dearly.
constexpr size_t kHeaderAndGap = sizeof(BITMAPINFOHEADER) + 4;
constexpr size_t kPixelAlignment = 64;

}  // namespace

Surface::Surface(int width, int height)
{
    AllocateHeader(width, height, true);
}

Surface::Surface(HWND window, int width, int height)
{
    AllocateHeader(width, height, false);
    AttachDibSection(window);
}

Surface::~Surface()
{
    if (font)
        DeleteObject(font);
    if (dc)
        DeleteDC(dc);
    if (bitmap)
        DeleteObject(bitmap);
    delete[] static_cast<unsigned char*>(block);
}

void Surface::AllocateHeader(int w, int h, bool pixelsInBlock)
{
    width = std::max(w, 0);
    height = std::max(h, 0);
    size_t pixelBytes = pixelsInBlock ? static_cast<size_t>(width) * height * 4 : 0;
    unsigned char* bytes = new unsigned char[kHeaderAndGap + pixelBytes + kPixelAlignment - 1];
    block = bytes;
    uintptr_t first = reinterpret_cast<uintptr_t>(bytes) + kHeaderAndGap;
    uintptr_t aligned = (first + kPixelAlignment - 1) & ~(kPixelAlignment - 1);
    header = reinterpret_cast<BITMAPINFOHEADER*>(aligned - kHeaderAndGap);
    // Everything but the pixels is defined: the header, then four zero bytes.
    std::memset(header, 0, kHeaderAndGap);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    if (pixelsInBlock)
        pixels =
            reinterpret_cast<uint32_t*>(reinterpret_cast<unsigned char*>(header) + kHeaderAndGap);
}

void Surface::AttachDibSection(HWND window)
{
    HDC windowDc = GetDC(window);
    void* bits = nullptr;
    bitmap = CreateDIBSection(windowDc, reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS,
                              &bits, nullptr, 0);
    if (!bitmap) {
        // Only a surface with no area gets here; it stays empty rather than half-made.
        width = height = 0;
        header->biWidth = header->biHeight = 0;
    } else {
        pixels = static_cast<uint32_t*>(bits);
        dc = CreateCompatibleDC(windowDc);
        SelectObject(dc, bitmap);
    }
    ReleaseDC(window, windowDc);
}

uint32_t Surface::GetPixel(int x, int y)
{
    return pixels[y * width + x];
}

void Surface::SetPixel(int x, int y, uint32_t colour)
{
    // Compared as unsigned numbers, so negative coordinates are outside too.
    if (static_cast<uint32_t>(x) < static_cast<uint32_t>(width) &&
        static_cast<uint32_t>(y) < static_cast<uint32_t>(height))
        pixels[y * width + x] = colour;
}
