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
    EXPECT_TRUE(TextOutA(canvas.dc, 0, 0, "", 0) && TextOutA(canvas.dc, 0, 0, nullptr, 0));
    EXPECT_FALSE(TextOutA(canvas.dc, 0, 0, "Fg", -1));
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

TEST(Rectangles, IntersectionIsWhatBothCoverAndTouchingEdgesShareNothing)
{
    // Right and bottom edges are outside a rectangle; no common area gives {0, 0, 0, 0}.
    struct Case {
        RECT a, b, common;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 3, 15, 15}, {5, 3, 10, 10}},
        {{2, 3, 4, 5}, {0, 0, 10, 10}, {2, 3, 4, 5}},
        {{-5, -5, 1, 1}, {-10, 0, 0, 10}, {-5, 0, 0, 1}},
        {{0, 0, 10, 10}, {9, 9, 20, 20}, {9, 9, 10, 10}},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, {}},
        {{0, 0, 10, 10}, {0, 10, 10, 20}, {}},
        {{0, 0, 10, 10}, {-4, 0, 0, 10}, {}},
        {{0, 0, 10, 10}, {4, 4, 4, 8}, {}},
        {{0, 0, 10, 10}, {4, 6, 8, 6}, {}},
        {{0, 0, 2, 2}, {5, 5, 8, 8}, {}},
    };
    for (const Case& c : cases) {
        bool expected = c.common.left < c.common.right;
        for (auto [a, b] : {std::pair{&c.a, &c.b}, {&c.b, &c.a}}) {
            RECT result = {7, 7, 7, 7};
            EXPECT_EQ(IntersectRect(&result, a, b), expected) << c.b.left << "," << c.b.top;
            EXPECT_EQ(Edges(result), Edges(c.common));
        }
    }
    RECT result;
    EXPECT_FALSE(IntersectRect(&result, nullptr, &cases[0].a));
}

// A copy of the width x height rectangle at device (srcX, srcY) of a picture to device (x, y).
struct Copy {
    int x, y, width, height, srcX, srcY;
};

// The placements every copy is tried with, against a 30x20 source and a 40x25 destination:
// inside both, one column or row wide, at and over every edge, and with no area.
const Copy kPlacements[] = {
    {10, 3, 12, 7, 5, 6},  {0, 0, 30, 20, 0, 0},   {35, 20, 20, 20, -2, -3}, {0, 0, 1, 5, 29, 0},
    {5, 24, 10, 1, 0, 19}, {39, 24, 1, 1, 29, 19}, {-3, -4, 10, 10, 0, 0},   {-1, 0, 1, 20, 0, 0},
    {40, 0, 5, 5, 0, 0},   {0, 25, 5, 5, 0, 0},    {0, 0, 5, 5, 30, 0},      {0, 0, 5, 5, 0, 20},
    {0, 0, 5, 5, -5, 0},   {5, 5, 0, 5, 0, 0},     {5, 5, 5, 0, 0, 0},       {-50, 0, 100, 1, 0, 0},
};

// What the copy must leave, and how many rows it copies into: a pixel takes its source pixel
// exactly when both places lie inside their pictures.
std::pair<std::vector<uint32_t>, int> AfterCopy(const Surface& dst, const Surface& src, Copy c)
{
    std::vector<uint32_t> pixels = PixelsOf(dst);
    int rows = 0;
    for (int row = 0; row < dst.height; row++) {
        bool any = false;
        for (int x = 0; x < dst.width; x++) {
            int sx = x - c.x + c.srcX, sy = row - c.y + c.srcY;
            if (x >= c.x && x < c.x + c.width && row >= c.y && row < c.y + c.height && sx >= 0 &&
                sx < src.width && sy >= 0 && sy < src.height) {
                pixels[(dst.height - 1 - row) * dst.width + x] = OnScreen(src, sx, sy);
                any = true;
            }
        }
        rows += any;
    }
    return {pixels, rows};
}

TEST(Copies, BothCopiesTakeWhatLiesInsideBothPicturesAndStretchDIBitsCountsRowsFromTheBottom)
{
    Surface src(nullptr, 30, 20), dst(nullptr, 40, 25);
    FillDistinct(src);
    auto stretch = [&](const Surface& from, Copy c, int width, int height, DWORD rop) {
        Fill(dst, kPaper);
        return StretchDIBits(dst.dc, c.x, c.y, width, height, c.srcX, c.srcY, c.width, c.height,
                             from.pixels, reinterpret_cast<const BITMAPINFO*>(from.header),
                             DIB_RGB_COLORS, rop);
    };
    // StretchDIBits: rows 2..5 counted from the picture's bottom, columns 3..6, placed at
    // device (1, 12). So a device rectangle at row srcY is the DIB's at 20 - (srcY + height).
    stretch(src, {1, 12, 4, 4, 3, 2}, 4, 4, SRCCOPY);
    EXPECT_EQ(OnScreen(dst, 1, 12), src.GetPixel(3, 5));
    EXPECT_EQ(OnScreen(dst, 4, 15), src.GetPixel(6, 2));
    for (const Copy& c : kPlacements) {
        const auto number = &c - kPlacements;
        Fill(dst, kPaper);
        auto [expected, rows] = AfterCopy(dst, src, c);
        ASSERT_TRUE(BitBlt(dst.dc, c.x, c.y, c.width, c.height, src.dc, c.srcX, c.srcY, SRCCOPY));
        ASSERT_EQ(PixelsOf(dst), expected) << "BitBlt, placement " << number;
        Copy fromBottom = c;
        fromBottom.srcY = src.height - (c.srcY + c.height);
        ASSERT_EQ(stretch(src, fromBottom, c.width, c.height, SRCCOPY), rows) << number;
        ASSERT_EQ(PixelsOf(dst), expected) << "StretchDIBits, placement " << number;
    }
    // BitBlt within one picture, up or down by a row over the rectangle itself: every row is
    // read before it is overwritten.
    Surface before(nullptr, 30, 20);
    for (Copy c : {Copy{2, 1, 20, 15, 2, 0}, Copy{2, 0, 20, 15, 2, 1}, Copy{1, 3, 20, 5, 0, 3}}) {
        FillDistinct(src);
        FillDistinct(before);
        auto [expected, rows] = AfterCopy(before, before, c);
        BitBlt(src.dc, c.x, c.y, c.width, c.height, src.dc, c.srcX, c.srcY, SRCCOPY);
        EXPECT_EQ(PixelsOf(src), expected) << "from row " << c.srcY << " to " << c.y;
    }
    // A one-pixel picture; a top-down one, a scaled copy or any raster operation but a copy
    // draws nothing, nor does a copy to or from a context without a picture.
    Surface dot(1, 1);
    dot.pixels[0] = 0x00ABCDEF;
    EXPECT_EQ(stretch(dot, {39, 24, 1, 1, 0, 0}, 1, 1, SRCCOPY), 1);
    EXPECT_EQ(OnScreen(dst, 39, 24), 0x00ABCDEFu);
    dot.header->biHeight = -1;
    EXPECT_EQ(stretch(dot, {0, 0, 1, 1, 0, 0}, 1, 1, SRCCOPY), 0);
    HDC bare = CreateCompatibleDC(nullptr);
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 5, 5, bare, 0, 0, SRCCOPY) ||
                 BitBlt(bare, 0, 0, 5, 5, src.dc, 0, 0, SRCCOPY));
    DeleteDC(bare);
    EXPECT_EQ(stretch(src, {0, 0, 20, 10, 0, 0}, 40, 20, SRCCOPY), 0);
    EXPECT_EQ(stretch(src, {0, 0, 20, 10, 0, 0}, 20, 10, 0), 0);
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 5, 5, src.dc, 0, 0, 0));
    EXPECT_EQ(PixelsOf(dst), std::vector<uint32_t>(40 * 25, kPaper));
}

}  // namespace
