// The doubling, the rotation and the ragged wipe.

#include <algorithm>

#include <gtest/gtest.h>

#include "app/Random.h"
#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "tests/gfx/GfxTestKit.h"

using namespace gfxtest;

namespace {
constexpr uint32_t kUntouched = 0xDEADBEEF;
}

TEST(Double2x, FillsTheWholeWindowFrameOrNothing)
{
    Surface frame(320, 240), window(640, 480), narrow(600, 480);
    FillDistinct(frame);
    Fill(window, kUntouched);
    Double2x(frame, window);
    for (int y = 0; y < 480; y++) {
        for (int x = 0; x < 640; x++)
            ASSERT_EQ(window.GetPixel(x, y), frame.GetPixel(x / 2, y / 2)) << x << "," << y;
    }
    Fill(narrow, kUntouched);
    Double2x(frame, narrow);
    EXPECT_EQ(PixelsOf(narrow), std::vector<uint32_t>(600 * 480, kUntouched));
}

TEST(BlitRotated, AngleZeroRepeatsTheMiddleAndNeverShowsTheLastColumnOrRow)
{
    BuildTables();
    Surface logo(32, 32), screen(320, 240);
    FillDistinct(logo);
    Fill(screen, kUntouched);
    BlitRotated(screen.pixels, 320, 240, logo.pixels, 32, 32, 0);
    // Box column i shows source column i up to 16 and column i - 1 after; rows alike.
    auto source = [](int i) { return i <= 16 ? i : i - 1; };
    for (int y = 0; y < 240; y++) {
        for (int x = 0; x < 320; x++) {
            bool inBox = x >= 144 && x < 176 && y >= 104 && y < 136;
            uint32_t expected =
                inBox ? logo.GetPixel(source(x - 144), source(y - 104)) : kUntouched;
            ASSERT_EQ(screen.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(BlitRotated, AQuarterTurnIsClockwiseAndStaysInsideTheDestination)
{
    BuildTables();
    // A picture whose upper half (y upward) is marked.
    Surface logo(40, 20), screen(64, 64);
    for (int y = 0; y < 20; y++) {
        for (int x = 0; x < 40; x++)
            logo.SetPixel(x, y, y >= 10 ? 0x00FF0000 : 0x000000FF);
    }
    Fill(screen, kUntouched);
    BlitRotated(screen.pixels, 64, 64, logo.pixels, 40, 20, 64);
    // Turned clockwise by a quarter, the upper half lies on the right: the box is 20 wide and
    // 40 high, centred.
    EXPECT_EQ(screen.GetPixel(39, 32), 0x00FF0000u);
    EXPECT_EQ(screen.GetPixel(25, 32), 0x000000FFu);
    EXPECT_EQ(screen.GetPixel(20, 32), kUntouched);
    EXPECT_EQ(screen.GetPixel(32, 55), kUntouched);

    // A destination smaller than the turned box is written only inside.
    Surface tiny(8, 8);
    Fill(tiny, kUntouched);
    BlitRotated(tiny.pixels, 8, 8, logo.pixels, 40, 20, 30);
    EXPECT_NE(PixelsOf(tiny), std::vector<uint32_t>(64, kUntouched));
}

TEST(WipeRagged, EachRowTakesTheSourceFromItsOwnJitteredEdge)
{
    Surface incoming(320, 240), screen(320, 240);
    FillDistinct(incoming);
    auto copiedFrom = [&](int y) {
        int first = 320;
        while (first > 0 && screen.GetPixel(first - 1, y) == incoming.GetPixel(first - 1, y))
            first--;
        for (int x = 0; x < first; x++)
            EXPECT_EQ(screen.GetPixel(x, y), kUntouched) << "row " << y << " column " << x;
        return first;
    };

    // Every edge lies in 350..549: nothing is copied. In -250..-51: every row whole.
    Fill(screen, kUntouched);
    WipeRagged(incoming, screen, 400, 50);
    EXPECT_EQ(PixelsOf(screen), std::vector<uint32_t>(320 * 240, kUntouched));
    WipeRagged(incoming, screen, -200, 50);
    EXPECT_EQ(PixelsOf(screen), PixelsOf(incoming));

    // In between, row y is copied from x + (r mod 200) - 50 with r the generator's next word.
    theRandom.Seed(12345);
    Random draws = theRandom;
    Fill(screen, kUntouched);
    WipeRagged(incoming, screen, 300, 50);
    for (int y = 0; y < 240; y++) {
        int edge = 300 + static_cast<int>(draws.Next() % 200) - 50;
        ASSERT_EQ(copiedFrom(y), std::clamp(edge, 0, 320)) << "row " << y;
    }
    // One draw per row, no more.
    EXPECT_EQ(theRandom.Next(), draws.Next());
}
