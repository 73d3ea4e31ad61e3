#pragma once
// The one pixel container: 32-bit pixels (blue, green, red, fourth byte) in rows of exactly
// `width` pixels stored bottom-up, so pixel (x, y) is word y*width + x and y grows upward.
// Text drawn through the device context counts y downward from the top.

#include <cstdint>
#include <string>

#include "platform/Platform.h"

class ResourceArchive;

class Surface {
public:
    // A surface without a device context; pixels not cleared.
    Surface(int width, int height);
    // A blank surface with a device context attached to the window's.
    Surface(HWND window, int width, int height);
    // A surface loaded from the BMP stored under name in the archive (24 or 32 bits, bottom-up,
    // uncompressed, pixels right behind the headers). A missing entry or a damaged picture
    // leaves a blank surface of the size the header gives (or 1x1 when the header itself is
    // unusable or claims more than 4 MB of pixels) and sets loadError().
    Surface(HWND window, ResourceArchive& archive, const char* name);
    virtual ~Surface();

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    virtual uint32_t GetPixel(int x, int y);
    virtual void SetPixel(int x, int y, uint32_t colour);

    // Halves every byte of every pixel inside r.
    void HalveRect(const RECT& r);
    // Bresenham, both end points drawn, through SetPixel.
    void DrawLine(int x0, int y0, int x1, int y1, uint32_t colour);

    // First free "Snap%04d.bmp" in the folder ("" is the working directory).
    void SaveSnapshot(const std::string& folder = "");
    // Replaces fileName. Returns false (and leaves nothing half-written) on failure.
    bool SaveBmp(const char* fileName);

    // Empty when the surface loaded or was created fine; otherwise one line naming the
    // resource and what is wrong with it.
    const char* loadError() const;

    void* block = nullptr;
    BITMAPINFOHEADER* header = nullptr;
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
    int32_t bitsPerPixel = 32;

private:
    void AllocateHeader(int w, int h, bool pixelsInBlock);
    void AttachDibSection(HWND window);
    void Load(HWND window, ResourceArchive& archive, const char* name);
    void Fail(const char* name, const char* format, ...) __attribute__((format(printf, 3, 4)));

    std::string failure;
};
