// The two drawing operations that belong to Surface itself.

#include <algorithm>
#include <cstdlib>

#include "gfx/Surface.h"

void Surface::HalveRect(const RECT& r)
{
    // Kept inside the surface, so a panel that reaches past an edge darkens what is there.
    int left = std::max<int>(r.left, 0), right = std::min<int>(r.right, width);
    int bottom = std::max<int>(r.top, 0), top = std::min<int>(r.bottom, height);
    for (int y = bottom; y < top; y++) {
        uint32_t* row = pixels + static_cast<size_t>(y) * width;
        // Each of the four bytes shifted right by one: the bit that would cross into the
        // byte below is masked off.
        for (int x = left; x < right; x++)
            row[x] = (row[x] >> 1) & 0x7F7F7F7F;
    }
}

void Surface::DrawLine(int x0, int y0, int x1, int y1, uint32_t colour)
{
    if (drawingSkipped)
        return;
    // Bresenham with both end points drawn; ties between the axes step along x.
    int dx = std::abs(x1 - x0), sx = x1 > x0 ? 1 : -1;
    int dy = std::abs(y1 - y0), sy = y1 > y0 ? 1 : -1;
    int x = x0, y = y0;
    if (dx >= dy) {
        int err = -dx;
        for (int i = 0; i <= dx; i++) {
            SetPixel(x, y, colour);
            x += sx;
            err += 2 * dy;
            if (err >= 0) {
                y += sy;
                err -= 2 * dx;
            }
        }
    } else {
        int err = -dy;
        for (int i = 0; i <= dy; i++) {
            SetPixel(x, y, colour);
            y += sy;
            err += 2 * dx;
            if (err >= 0) {
                x += sx;
                err -= 2 * dy;
            }
        }
    }
}
