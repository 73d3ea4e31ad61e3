#pragma once
// The one pixel container: 32-bit pixels (blue, green, red, fourth byte) in rows of exactly
// `width` pixels stored bottom-up, so pixel (x, y) is word y*width + x and y grows upward.
// Text drawn through the device context counts y downward from the top.

#include <cstdint>

#include "platform/Platform.h"

// Loading a picture (PictureLoader.h) and writing a BMP or a snapshot (BmpWriter.h) are done
// by functions of their own.

class Surface {
public:
    // A surface without a device context; pixels not cleared.
    Surface(int width, int height);
    // A blank surface with a device context attached to the window's.
    Surface(HWND window, int width, int height);
    virtual ~Surface();

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    virtual uint32_t GetPixel(int x, int y);
    virtual void SetPixel(int x, int y, uint32_t colour);

    // Halves every byte of every pixel inside r.
    void HalveRect(const RECT& r);
    // Bresenham, both end points drawn, through SetPixel.
    void DrawLine(int x0, int y0, int x1, int y1, uint32_t colour);

    void* block = nullptr;
    BITMAPINFOHEADER* header = nullptr;
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
    int32_t bitsPerPixel = 32;
    // Nobody will look at what is drawn into this surface now (a frame that verifying does not
    // compare): the blits and lines leave the pixels as they are, and so does whoever draws
    // into the surface directly.
    bool drawingSkipped = false;

private:
    void AllocateHeader(int w, int h, bool pixelsInBlock);
    void AttachDibSection(HWND window);
};
