// The doubling, the rotation and the ragged wipe.

#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "random/Random.h"
#include "tests/gfx/GfxTestKit.h"

using namespace testfiles;

namespace {

constexpr uint32_t kUntouched = 0xDEADBEEF;

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
    // right.
    Surface wide(40, 20), small(64, 64);
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

    // In between, row y is copied from x + (r mod 4*spread) - spread, r the generator's next
    // word, to the narrower picture's right end; the generator moves on by one draw per screen
    // row, also for the rows a smaller picture does not have. A spread below 1 is a straight
    // edge.
    Surface small(100, 50);
    FillDistinct(small);
    for (auto [from, x, spread] :
         {std::tuple{&incoming, 300, 50}, {&small, 40, 10}, {&incoming, 100, -5}}) {
        theRandom.Seed(12345);
        Random draws = theRandom;
        Fill(screen, kUntouched);
        WipeRagged(*from, screen, x, spread);
        for (int y = 0; y < 240; y++) {
            uint32_t draw = draws.Next();
            int offset = spread > 0 ? static_cast<int>(draw % (4 * spread)) - spread : 0;
            int edge = std::clamp(x + offset, 0, from->width);
            for (int column = 0; column < 320; column++) {
                bool copied = y < from->height && column >= edge && column < from->width;
                ASSERT_EQ(screen.GetPixel(column, y),
                          copied ? from->GetPixel(column, y) : kUntouched)
                    << from->width << " wide, row " << y << " column " << column;
            }
        }
        EXPECT_EQ(theRandom.Next(), draws.Next());
    }
}

}  // namespace
