// The tables, the doubling, the rotation and the ragged wipe.

#include <algorithm>

#include <gtest/gtest.h>

#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "random/Random.h"
#include "tests/gfx/GfxTestKit.h"

using namespace testfiles;

namespace {

constexpr uint32_t kUntouched = 0xDEADBEEF;

// The rotation and the wave motions depend on the exact values: a full turn of 255 steps, and
// a cosine at step 0 just below 1, so that the fixed-point factor is 65534 rather than 65536.
TEST(Tables, SineTurnsOnceIn255StepsAndProductsMultiply)
{
    BuildTables();
    EXPECT_EQ(SineTable[0], 0.0);
    EXPECT_NEAR(SineTable[1], 0.0246374, 1e-7);
    EXPECT_EQ(static_cast<int>(SineTable[64] * 65536), 65534);
    EXPECT_NEAR(SineTable[128], -0.0123196, 1e-7);
    EXPECT_NEAR(SineTable[191], -0.99998102, 1e-8);
    EXPECT_NEAR(SineTable[255], 0.0, 1e-15);
    EXPECT_NEAR(SineTable[319], SineTable[64], 1e-15);
    for (double value : SineTable)
        EXPECT_LE(value, SineTable[64]);
    for (int i = 0; i <= 256; i++) {
        for (int j = 0; j <= 256; j++)
            ASSERT_EQ(ProductTable[i][j], uint16_t(i * j)) << i << " * " << j;
    }
}

TEST(Double2x, FillsTheWholeWindowFrameOrNothing)
{
    Surface frame(320, 240), window(640, 480), narrow(600, 480);
    FillDistinct(frame);
    Double2x(frame, window);
    for (int y = 0; y < 480; y++) {
        for (int x = 0; x < 640; x++)
            ASSERT_EQ(window.GetPixel(x, y), frame.GetPixel(x / 2, y / 2)) << x << "," << y;
    }
    Fill(narrow, kUntouched);
    Double2x(frame, narrow);
    EXPECT_EQ(PixelsOf(narrow), std::vector<uint32_t>(600 * 480, kUntouched));
}

TEST(BlitRotated, AngleZeroRepeatsTheMiddleAndAQuarterTurnIsClockwise)
{
    BuildTables();
    Surface logo(32, 32), screen(320, 240);
    FillDistinct(logo);
    Fill(screen, kUntouched);
    BlitRotated(screen.pixels, 320, 240, logo.pixels, 32, 32, 0);
    // Box column i shows source column i up to 16 and column i - 1 after; rows alike, so the
    // last column and row never show.
    auto source = [](int i) { return i <= 16 ? i : i - 1; };
    for (int y = 0; y < 240; y++) {
        for (int x = 0; x < 320; x++) {
            bool inBox = x >= 144 && x < 176 && y >= 104 && y < 136;
            uint32_t expected =
                inBox ? logo.GetPixel(source(x - 144), source(y - 104)) : kUntouched;
            ASSERT_EQ(screen.GetPixel(x, y), expected) << x << "," << y;
        }
    }

    // A 40x20 picture whose upper half is blue turns into a centred 20x40 box, blue on the
    // right; a destination smaller than the box is written only inside.
    Surface wide(40, 20), small(64, 64), tiny(8, 8);
    for (int y = 0; y < 20; y++) {
        for (int x = 0; x < 40; x++)
            wide.SetPixel(x, y, y >= 10 ? 0x00FF0000 : 0x000000FF);
    }
    Fill(small, kUntouched);
    BlitRotated(small.pixels, 64, 64, wide.pixels, 40, 20, 64);
    EXPECT_EQ(small.GetPixel(39, 32), 0x00FF0000u);
    EXPECT_EQ(small.GetPixel(25, 32), 0x000000FFu);
    EXPECT_EQ(small.GetPixel(20, 32), kUntouched);
    EXPECT_EQ(small.GetPixel(32, 55), kUntouched);
    Fill(tiny, kUntouched);
    BlitRotated(tiny.pixels, 8, 8, wide.pixels, 40, 20, 30);
    EXPECT_NE(PixelsOf(tiny), std::vector<uint32_t>(64, kUntouched));
}

TEST(WipeRagged, EachRowTakesTheSourceFromItsOwnJitteredEdge)
{
    Surface incoming(320, 240), screen(320, 240);
    FillDistinct(incoming);
    // Every edge in 350..549: nothing is copied. In -250..-51: every row whole.
    Fill(screen, kUntouched);
    WipeRagged(incoming, screen, 400, 50);
    EXPECT_EQ(PixelsOf(screen), std::vector<uint32_t>(320 * 240, kUntouched));
    WipeRagged(incoming, screen, -200, 50);
    EXPECT_EQ(PixelsOf(screen), PixelsOf(incoming));

    // In between, row y is copied from x + (r mod 200) - 50, r the generator's next word, and
    // the generator moves on by one draw per row.
    theRandom.Seed(12345);
    Random draws = theRandom;
    Fill(screen, kUntouched);
    WipeRagged(incoming, screen, 300, 50);
    for (int y = 0; y < 240; y++) {
        int edge = std::clamp(300 + static_cast<int>(draws.Next() % 200) - 50, 0, 320);
        for (int x = 0; x < 320; x++) {
            ASSERT_EQ(screen.GetPixel(x, y), x < edge ? kUntouched : incoming.GetPixel(x, y))
                << "row " << y << " column " << x;
        }
    }
    EXPECT_EQ(theRandom.Next(), draws.Next());
}

}  // namespace
