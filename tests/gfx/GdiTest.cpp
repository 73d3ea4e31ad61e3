// The device-context side of the platform: text, copies between pictures, the window's
// picture, and rectangle intersection. Device coordinates count y downward from the top, so
// device row r is memory row height-1-r.

#include <array>

#include <gtest/gtest.h>

#include "gfx/Surface.h"
#include "platform/FontGlyphs.h"
#include "platform/Internal.h"
#include "platform/scripted/Scripted.h"
#include "tests/gfx/GfxTestKit.h"

using namespace gfxtest;

namespace {

constexpr uint32_t kPaper = 0x00203040;

// The surface as seen on screen: row 0 is the top.
uint32_t OnScreen(const Surface& surface, int x, int row)
{
    return surface.pixels[(surface.height - 1 - row) * surface.width + x];
}

class Text : public testing::Test {
protected:
    void SetUp() override
    {
        canvas.font = CreateFontA(16, 8, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "any");
        SelectObject(canvas.dc, canvas.font);
        SetBkMode(canvas.dc, TRANSPARENT);
        Fill(canvas, kPaper);
    }

    // Whether every pixel of the glyph's cell at device (x, y) shows ink exactly where the
    // glyph has a set pixel, and the background elsewhere.
    void ExpectGlyphAt(char c, int x, int y, uint32_t ink, uint32_t background = kPaper)
    {
        const uint8_t* glyph = GlyphFor(c);
        for (int row = 0; row < kGlyphHeight; row++) {
            for (int column = 0; column < kGlyphWidth; column++) {
                bool set = glyph[row] & (0x80 >> column);
                ASSERT_EQ(OnScreen(canvas, x + column, y + row), set ? ink : background)
                    << "'" << c << "' row " << row << " column " << column;
            }
        }
    }

    Surface canvas{nullptr, 64, 40};
};

}  // namespace

TEST_F(Text, GlyphsStandFromTheTopInTheTextColour)
{
    // COLORREF 0x00BBGGRR red is the pixel word 0x00RRGGBB 0x00FF0000.
    SetTextColor(canvas.dc, 0x000000FF);
    ASSERT_TRUE(TextOutA(canvas.dc, 0, 0, "Fg", 2));
    ExpectGlyphAt('F', 0, 0, 0x00FF0000);
    ExpectGlyphAt('g', 8, 0, 0x00FF0000);
    // Text at y = 0 lands in the highest memory rows; nothing below the cell changed.
    for (int y = 0; y < canvas.height - kGlyphHeight; y++) {
        for (int x = 0; x < canvas.width; x++)
            ASSERT_EQ(canvas.GetPixel(x, y), kPaper) << x << "," << y;
    }
    EXPECT_EQ(canvas.GetPixel(1, canvas.height - 1 - 3), 0x00FF0000u);  // the F's top bar

    SetTextColor(canvas.dc, 0x00FFFFFF);
    TextOutA(canvas.dc, 20, 17, "0O1lI", 5);
    for (int i = 0; i < 5; i++)
        ExpectGlyphAt("0O1lI"[i], 20 + 8 * i, 17, 0x00FFFFFF);
}

TEST_F(Text, GlyphsAreClippedAtEveryEdgeAndOpaqueModePaintsTheCell)
{
    SetTextColor(canvas.dc, 0x00FFFFFF);
    TextOutA(canvas.dc, -4, -8, "HH", 2);
    TextOutA(canvas.dc, 60, 30, "HH", 2);
    // The visible parts sit in the corners: the second H's lower half at the top left...
    const uint8_t* h = GlyphFor('H');
    for (int row = 8; row < 16; row++) {
        for (int column = 0; column < 8; column++) {
            bool set = h[row] & (0x80 >> column);
            EXPECT_EQ(OnScreen(canvas, 4 + column, row - 8), set ? 0x00FFFFFFu : kPaper);
        }
    }
    // ...and the first H's upper left at the bottom right.
    EXPECT_EQ(OnScreen(canvas, 61, 35), 0x00FFFFFFu);
    EXPECT_EQ(OnScreen(canvas, 63, 35), kPaper);

    // Opaque text paints its whole cell, the background white.
    Fill(canvas, kPaper);
    SetBkMode(canvas.dc, OPAQUE);
    SetTextColor(canvas.dc, 0x00FF0000);
    TextOutA(canvas.dc, 8, 8, "\x01", 1);  // a byte without a glyph draws the box
    ExpectGlyphAt(char(0x7F), 8, 8, 0x000000FF, 0x00FFFFFF);
    EXPECT_EQ(OnScreen(canvas, 7, 8), kPaper);
    EXPECT_EQ(OnScreen(canvas, 16, 8), kPaper);
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

    // Within one picture an overlapping copy reads the rows as they were before it.
    Surface scroll(nullptr, 8, 8), before(nullptr, 8, 8);
    FillDistinct(scroll);
    BitBlt(before.dc, 0, 0, 8, 8, scroll.dc, 0, 0, SRCCOPY);
    BitBlt(scroll.dc, 1, 2, 6, 5, scroll.dc, 0, 0, SRCCOPY);
    for (int row = 2; row < 7; row++) {
        for (int x = 1; x < 7; x++)
            ASSERT_EQ(OnScreen(scroll, x, row), OnScreen(before, x - 1, row - 2));
    }
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 0x00EE0086));  // only SRCCOPY
}

TEST(Copies, StretchDIBitsTakesItsSourceFromTheBottomAndPlacesItFromTheTop)
{
    Surface picture(20, 10), canvas(nullptr, 32, 24);
    FillDistinct(picture);
    Fill(canvas, kPaper);
    auto info = reinterpret_cast<const BITMAPINFO*>(picture.header);
    // The whole picture at the canvas's top-left: its top row on the canvas's top row.
    EXPECT_EQ(StretchDIBits(canvas.dc, 0, 0, 20, 10, 0, 0, 20, 10, picture.pixels, info,
                            DIB_RGB_COLORS, SRCCOPY),
              10);
    for (int row = 0; row < 24; row++) {
        for (int x = 0; x < 32; x++) {
            uint32_t expected = x < 20 && row < 10 ? OnScreen(picture, x, row) : kPaper;
            ASSERT_EQ(OnScreen(canvas, x, row), expected) << x << "," << row;
        }
    }
    EXPECT_EQ(canvas.GetPixel(0, 23), picture.GetPixel(0, 9));

    // Rows 2..5 counted from the picture's bottom, columns 3..6, placed at device (1, 12).
    Fill(canvas, kPaper);
    StretchDIBits(canvas.dc, 1, 12, 4, 4, 3, 2, 4, 4, picture.pixels, info, DIB_RGB_COLORS,
                  SRCCOPY);
    EXPECT_EQ(OnScreen(canvas, 1, 12), picture.GetPixel(3, 5));
    EXPECT_EQ(OnScreen(canvas, 4, 15), picture.GetPixel(6, 2));
    EXPECT_EQ(OnScreen(canvas, 1, 11), kPaper);
    EXPECT_EQ(OnScreen(canvas, 1, 16), kPaper);

    // Scaling is not done at all rather than done wrong.
    Fill(canvas, kPaper);
    EXPECT_EQ(StretchDIBits(canvas.dc, 0, 0, 40, 20, 0, 0, 20, 10, picture.pixels, info,
                            DIB_RGB_COLORS, SRCCOPY),
              0);
    EXPECT_EQ(PixelsOf(canvas), std::vector<uint32_t>(32 * 24, kPaper));
}

TEST(Copies, TheWindowShowsTheTopOfAPictureAtTheTop)
{
    scripted::Install();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "gfx-test";
    ASSERT_TRUE(RegisterClassA(&windowClass));
    HWND window = CreateWindowExA(0, "gfx-test", "test", WS_CAPTION, 0, 0, 64, 48, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    ReleaseDC(nullptr, screen);

    Surface frame(window, 64, 48);
    FillDistinct(frame);
    PAINTSTRUCT paint;
    HDC windowDc = BeginPaint(window, &paint);
    ASSERT_TRUE(BitBlt(windowDc, 0, 0, 64, 48, frame.dc, 0, 0, SRCCOPY));
    EndPaint(window, &paint);
    // The presented picture is in memory order too: its last row is the top of the screen.
    const std::vector<uint32_t>& shown = scripted::LastPresentedFrame();
    ASSERT_EQ(shown.size(), 64u * 48);
    EXPECT_EQ(shown, PixelsOf(frame));
    EXPECT_EQ(WindowFrame(window)->pixels[47 * 64], OnScreen(frame, 0, 0));
    DestroyWindow(window);
}

TEST(IntersectRect, GivesTheCommonAreaOrAnEmptyRectangle)
{
    RECT result;
    RECT a = {0, 0, 10, 10}, b = {5, 3, 20, 8};
    EXPECT_TRUE(IntersectRect(&result, &a, &b));
    EXPECT_EQ((std::array{result.left, result.top, result.right, result.bottom}),
              (std::array<LONG, 4>{5, 3, 10, 8}));
    // Touching edges, disjoint rectangles and a single point have no common area.
    for (RECT other : {RECT{10, 0, 20, 10}, RECT{30, 30, 40, 40}, RECT{4, 4, 4, 4}}) {
        result = {1, 2, 3, 4};
        EXPECT_FALSE(IntersectRect(&result, &a, &other));
        EXPECT_EQ((std::array{result.left, result.top, result.right, result.bottom}),
                  (std::array<LONG, 4>{0, 0, 0, 0}));
    }
}
