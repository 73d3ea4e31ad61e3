// Device contexts, DIB sections and fonts. A device context is a handle on a pixel store plus
// the text state; a DIB section is a 32-bit bottom-up pixel store that the software drawing
// operations address directly.

#include "platform/Internal.h"

namespace {

// Large enough for any picture the game has (the tallest is about 1200 rows), small enough
// that width*height*4 never overflows.
constexpr int kMaxDibSide = 16384;

bool IsUsableDibHeader(const BITMAPINFOHEADER& header)
{
    return header.biSize >= sizeof(BITMAPINFOHEADER) && header.biWidth > 0 &&
           header.biWidth <= kMaxDibSide && header.biHeight > 0 && header.biHeight <= kMaxDibSide &&
           header.biBitCount == 32 && header.biCompression == BI_RGB;
}

}  // namespace

HDC GetDC(HWND window)
{
    // A null window is the screen: good as the model for compatible contexts, but with no
    // pixels of its own to draw on.
    DeviceContext* dc = new DeviceContext;
    dc->window = window;
    dc->bitmap = WindowFrame(window);
    dc->ownedByWindow = true;
    return dc;
}

int ReleaseDC(HWND window, HDC dc)
{
    if (!dc || !dc->ownedByWindow)
        return 0;
    delete dc;
    return 1;
}

HDC CreateCompatibleDC(HDC dc)
{
    // All our contexts draw 32-bit pixels, so any context (or none) is a fine model. A new
    // memory context has no bitmap until one is selected into it.
    return new DeviceContext;
}

BOOL DeleteDC(HDC dc)
{
    // Contexts handed out by GetDC go back through ReleaseDC.
    if (!dc || dc->ownedByWindow)
        return FALSE;
    delete dc;
    return TRUE;
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, void* section,
                         DWORD offset)
{
    if (bits)
        *bits = nullptr;
    // Only what the game asks for: 32-bit bottom-up pixels in memory of our own.
    if (!info || usage != DIB_RGB_COLORS || section || !IsUsableDibHeader(info->bmiHeader))
        return nullptr;
    DibSection* dib = new DibSection;
    dib->width = info->bmiHeader.biWidth;
    dib->height = info->bmiHeader.biHeight;
    // A fresh section is black, as on the platform the game was written for. Its pixels start
    // on a cache line, so that vector loads and stores of a row never straddle two lines.
    constexpr size_t kLineWords = 64 / sizeof(uint32_t);
    dib->storage.assign(static_cast<size_t>(dib->width) * dib->height + kLineWords - 1, 0);
    size_t wordsIntoLine = reinterpret_cast<uintptr_t>(dib->storage.data()) % 64 / 4;
    dib->pixels = dib->storage.data() + (kLineWords - wordsIntoLine) % kLineWords;
    if (bits)
        *bits = dib->pixels;
    return dib;
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap)
{
    if (!dc)
        return nullptr;
    HBITMAP previous = dc->bitmap;
    dc->bitmap = bitmap;
    return previous;
}

HFONT SelectObject(HDC dc, HFONT font)
{
    if (!dc)
        return nullptr;
    HFONT previous = dc->font;
    dc->font = font;
    return previous;
}

BOOL DeleteObject(HBITMAP bitmap)
{
    if (!bitmap)
        return FALSE;
    delete bitmap;
    return TRUE;
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* faceName)
{
    // Our one 8x16 screen font stands in for every face the game names.
    return new Font;
}

BOOL DeleteObject(HFONT font)
{
    if (!font)
        return FALSE;
    delete font;
    return TRUE;
}
