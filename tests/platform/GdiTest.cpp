// The device-context side of the platform: text and copies between pictures. Device
// coordinates count y downward from the top.

#include <gtest/gtest.h>

#include "gfx/Surface.h"
#include "platform/FontGlyphs.h"
#include "tests/gfx/GfxTestKit.h"

using namespace testfiles;

namespace {

constexpr uint32_t kPaper = 0x00203040;

TEST(Text, GlyphsStandFromTheTopInTheTextColourAndAreClippedAtEveryEdge)
{
    Surface canvas(nullptr, 64, 40);
    canvas.font = CreateFontA(16, 8, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "any");
    SelectObject(canvas.dc, canvas.font);
    SetBkMode(canvas.dc, TRANSPARENT);
    Fill(canvas, kPaper);
    // Ink exactly where the glyph has a set pixel, from its row firstRow on, at device (x, y).
    auto expectGlyph = [&](char c, int x, int y, uint32_t ink, int firstRow = 0) {
        const uint8_t* glyph = GlyphFor(c);
        for (int row = firstRow; row < kGlyphHeight; row++) {
            for (int column = 0; column < kGlyphWidth; column++) {
                bool set = glyph[row] & (0x80 >> column);
                ASSERT_EQ(OnScreen(canvas, x + column, y + row - firstRow), set ? ink : kPaper)
                    << "'" << c << "' row " << row << " column " << column;
            }
        }
    };
    // COLORREF 0x00BBGGRR red is the pixel word 0x00FF0000.
    SetTextColor(canvas.dc, 0x000000FF);
    ASSERT_TRUE(TextOutA(canvas.dc, 0, 0, "Fg", 2));
    expectGlyph('F', 0, 0, 0x00FF0000);
    expectGlyph('g', 8, 0, 0x00FF0000);
    // Text at y = 0 lands in the highest memory rows; nothing below the cell changed.
    EXPECT_EQ(canvas.GetPixel(1, canvas.height - 1 - 3), 0x00FF0000u);  // the F's top bar
    for (int y = 0; y < canvas.height - kGlyphHeight; y++) {
        for (int x = 0; x < canvas.width; x++)
            ASSERT_EQ(canvas.GetPixel(x, y), kPaper) << x << "," << y;
    }

    // Half a glyph over the top left, and over the bottom right.
    Fill(canvas, kPaper);
    SetTextColor(canvas.dc, 0x00FFFFFF);
    TextOutA(canvas.dc, -4, -8, "HH", 2);
    TextOutA(canvas.dc, 60, 30, "HH", 2);
    expectGlyph('H', 4, 0, 0x00FFFFFF, 8);
    EXPECT_EQ(OnScreen(canvas, 61, 35), 0x00FFFFFFu);
    EXPECT_EQ(OnScreen(canvas, 63, 35), kPaper);
}

TEST(Copies, BitBltCopiesDeviceRectanglesClippedToBothPictures)
{
    Surface src(nullptr, 30, 20), dst(nullptr, 40, 25);
    FillDistinct(src);
    Fill(dst, kPaper);
    ASSERT_TRUE(BitBlt(dst.dc, 10, 3, 12, 7, src.dc, 5, 6, SRCCOPY));
    for (int row = 0; row < 25; row++) {
        for (int x = 0; x < 40; x++) {
            bool inside = x >= 10 && x < 22 && row >= 3 && row < 10;
            uint32_t expected = inside ? OnScreen(src, x - 10 + 5, row - 3 + 6) : kPaper;
            ASSERT_EQ(OnScreen(dst, x, row), expected) << x << "," << row;
        }
    }
    // Reaching past the source's top-left and the destination's bottom-right.
    Fill(dst, kPaper);
    BitBlt(dst.dc, 35, 20, 20, 20, src.dc, -2, -3, SRCCOPY);
    EXPECT_EQ(OnScreen(dst, 37, 23), OnScreen(src, 0, 0));
    EXPECT_EQ(OnScreen(dst, 39, 24), OnScreen(src, 2, 1));
    EXPECT_EQ(OnScreen(dst, 36, 23), kPaper);
    EXPECT_EQ(OnScreen(dst, 37, 22), kPaper);
}

TEST(Copies, StretchDIBitsTakesItsSourceFromTheBottomAndPlacesItFromTheTop)
{
    Surface picture(20, 10), canvas(nullptr, 32, 24);
    FillDistinct(picture);
    auto info = reinterpret_cast<const BITMAPINFO*>(picture.header);
    auto stretch = [&](int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
        Fill(canvas, kPaper);
        return StretchDIBits(canvas.dc, x, y, w, h, sx, sy, sw, sh, picture.pixels, info,
                             DIB_RGB_COLORS, SRCCOPY);
    };
    // The whole picture at the canvas's top-left: its top row on the canvas's top row.
    EXPECT_EQ(stretch(0, 0, 20, 10, 0, 0, 20, 10), 10);
    for (int row = 0; row < 24; row++) {
        for (int x = 0; x < 32; x++) {
            uint32_t expected = x < 20 && row < 10 ? OnScreen(picture, x, row) : kPaper;
            ASSERT_EQ(OnScreen(canvas, x, row), expected) << x << "," << row;
        }
    }
    // Rows 2..5 counted from the picture's bottom, columns 3..6, placed at device (1, 12).
    stretch(1, 12, 4, 4, 3, 2, 4, 4);
    EXPECT_EQ(OnScreen(canvas, 1, 12), picture.GetPixel(3, 5));
    EXPECT_EQ(OnScreen(canvas, 4, 15), picture.GetPixel(6, 2));
    EXPECT_EQ(OnScreen(canvas, 1, 11), kPaper);
    EXPECT_EQ(OnScreen(canvas, 1, 16), kPaper);
    // Wholly off the canvas, scaled, or any raster operation but a copy: no row copied.
    EXPECT_EQ(stretch(40, 0, 20, 10, 0, 0, 20, 10), 0);
    EXPECT_EQ(stretch(0, 0, 40, 20, 0, 0, 20, 10), 0);
    EXPECT_EQ(StretchDIBits(canvas.dc, 0, 0, 20, 10, 0, 0, 20, 10, picture.pixels, info,
                            DIB_RGB_COLORS, 0),
              0);
    EXPECT_EQ(PixelsOf(canvas), std::vector<uint32_t>(32 * 24, kPaper));
}

}  // namespace
