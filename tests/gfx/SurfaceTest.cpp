#include <gtest/gtest.h>

#include "gfx/Surface.h"
#include "tests/gfx/GfxTestKit.h"

using namespace gfxtest;

TEST(Surface, PixelsLieBottomUpAndSetPixelIgnoresEverythingOutside)
{
    Surface surface(10, 5);
    Fill(surface, 0);
    surface.SetPixel(3, 2, 0x12345678);
    EXPECT_EQ(surface.pixels[23], 0x12345678u);
    EXPECT_EQ(surface.GetPixel(3, 2), 0x12345678u);

    auto before = PixelsOf(surface);
    surface.SetPixel(-1, 0, 1);
    surface.SetPixel(10, 0, 1);
    surface.SetPixel(0, 5, 1);
    surface.SetPixel(0, -1, 1);
    EXPECT_EQ(PixelsOf(surface), before);
    surface.SetPixel(9, 4, 0xABCDEF01);
    EXPECT_EQ(surface.pixels[49], 0xABCDEF01u);
}

TEST(Surface, TheHeaderDescribesA32BitBottomUpPicture)
{
    for (Surface* surface : {new Surface(7, 3), new Surface(nullptr, 7, 3)}) {
        EXPECT_EQ(surface->header->biSize, 40u);
        EXPECT_EQ(surface->header->biWidth, 7);
        EXPECT_EQ(surface->header->biHeight, 3);
        EXPECT_EQ(surface->header->biPlanes, 1);
        EXPECT_EQ(surface->header->biBitCount, 32);
        EXPECT_EQ(surface->header->biCompression, BI_RGB);
        EXPECT_EQ(surface->bitsPerPixel * surface->width * surface->height / 8, 84);
        // Rows start where vector loads and stores do not straddle cache lines.
        EXPECT_EQ(reinterpret_cast<uintptr_t>(surface->pixels) % 64, 0u);
        delete surface;
    }
    // With a device context the pixels are the DIB section's, blank, and text can reach them.
    Surface canvas(nullptr, 4, 4);
    ASSERT_NE(canvas.dc, nullptr);
    EXPECT_EQ(PixelsOf(canvas), std::vector<uint32_t>(16, 0));
    canvas.font = CreateFontA(16, 8, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "any");
    SelectObject(canvas.dc, canvas.font);
}

TEST(Surface, HalveRectHalvesEveryByteInsideOnly)
{
    Surface surface(4, 4);
    Fill(surface, 0xFF01807F);
    surface.SetPixel(1, 1, 0x000180FF);  // bytes blue 255, green 128, red 1, fourth 0
    surface.HalveRect({1, 1, 3, 3});
    EXPECT_EQ(surface.GetPixel(1, 1), 0x0000407Fu);
    EXPECT_EQ(surface.GetPixel(2, 2), 0x7F00403Fu);
    EXPECT_EQ(surface.GetPixel(0, 0), 0xFF01807Fu);
    EXPECT_EQ(surface.GetPixel(3, 1), 0xFF01807Fu);
    EXPECT_EQ(surface.GetPixel(1, 3), 0xFF01807Fu);
    // A rectangle reaching past the edges darkens only what is there.
    surface.HalveRect({-5, 3, 10, 9});
    EXPECT_EQ(surface.GetPixel(0, 3), 0x7F00403Fu);
    EXPECT_EQ(surface.GetPixel(0, 2), 0xFF01807Fu);
}

TEST(Surface, DrawLineStepsLikeBresenhamWithBothEnds)
{
    auto lit = [](int x0, int y0, int x1, int y1) {
        Surface surface(6, 6);
        Fill(surface, 0);
        surface.DrawLine(x0, y0, x1, y1, 1);
        std::vector<std::pair<int, int>> points;
        for (int y = 0; y < 6; y++) {
            for (int x = 0; x < 6; x++) {
                if (surface.GetPixel(x, y))
                    points.push_back({x, y});
            }
        }
        return points;
    };
    using Points = std::vector<std::pair<int, int>>;
    EXPECT_EQ(lit(0, 0, 3, 1), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(lit(3, 1, 0, 0), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(lit(2, 2, 2, 2), (Points{{2, 2}}));
    EXPECT_EQ(lit(-2, 0, 2, 0), (Points{{0, 0}, {1, 0}, {2, 0}}));
    // Steep lines step along y; a tie steps along x, one pixel per column.
    EXPECT_EQ(lit(1, 0, 2, 3), (Points{{1, 0}, {1, 1}, {2, 2}, {2, 3}}));
    EXPECT_EQ(lit(0, 4, 4, 0), (Points{{4, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 4}}));
}
