#include <algorithm>

#include <gtest/gtest.h>

#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "tests/gfx/GfxTestKit.h"

using namespace testfiles;

namespace {

constexpr uint32_t kBackground = 0x11223344;

uint32_t Word(uint8_t blue, uint8_t green, uint8_t red, uint8_t fourth)
{
    return blue | green << 8 | red << 16 | uint32_t(fourth) << 24;
}

class Blit : public testing::Test {
protected:
    void SetUp() override { BuildTables(); }
};

TEST_F(Blit, KeyedSkipsPixelsOfTheKeyColourWhateverTheirFourthByte)
{
    Surface src(4, 1), dst(4, 1);
    src.pixels[0] = Word(255, 0, 0, 7);  // blue, fourth byte 7
    src.pixels[1] = Word(255, 0, 1, 0);  // one step of red away from blue
    src.pixels[2] = Word(0, 0, 255, 0);  // red
    src.pixels[3] = Word(255, 0, 0, 0);  // blue
    // Keys are 0x00BBGGRR: 0x00FF0000 is blue, 0x000000FF red.
    auto keyed = [&](uint32_t key) {
        Fill(dst, kBackground);
        BlitKeyed(src, {0, 0, 4, 1}, dst, 0, 0, key);
        return PixelsOf(dst);
    };
    const uint32_t* s = src.pixels;
    EXPECT_EQ(keyed(0x00FF0000), (std::vector{kBackground, s[1], s[2], kBackground}));
    EXPECT_EQ(keyed(0x000000FF), (std::vector{s[0], s[1], kBackground, s[3]}));
}

TEST_F(Blit, BlendWeighsTheDestinationOnEveryByte)
{
    Surface src(2, 1), dst(2, 1);
    src.pixels[0] = Word(255, 255, 10, 200);
    src.pixels[1] = Word(0, 0, 0, 99);  // black: transparent under a black key
    // Keyed blending with a key no pixel has blends the same.
    auto blendOnto = [&](uint32_t under, int alpha) {
        dst.pixels[0] = under;
        BlitBlend(src, {0, 0, 1, 1}, dst, 0, 0, alpha);
        const uint32_t blended = dst.pixels[0];
        dst.pixels[0] = under;
        BlitBlendKeyed(src, {0, 0, 1, 1}, dst, 0, 0, alpha, 0x00ABCDEF);
        EXPECT_EQ(dst.pixels[0], blended) << "keyed, weight " << alpha;
        return blended;
    };
    EXPECT_EQ(blendOnto(Word(0, 9, 0, 0), 0), src.pixels[0]);
    EXPECT_EQ(blendOnto(Word(0, 9, 0, 0), 256), Word(0, 9, 0, 0));
    // (d*a + s*(256-a)) >> 8, rounded down; the fourth byte blends too.
    EXPECT_EQ(blendOnto(Word(0, 255, 20, 0), 128), Word(127, 255, 15, 100));
    EXPECT_EQ(blendOnto(Word(100, 100, 100, 100), 64), Word(216, 216, 32, 175));
    // Next to the ends, neither a copy nor the destination kept.
    EXPECT_EQ(blendOnto(Word(0, 0, 0, 0), 1), Word(254, 254, 9, 199));
    EXPECT_EQ(blendOnto(Word(100, 100, 100, 100), 255), Word(100, 100, 99, 100));
    // Weights beyond 0..256 are taken as the nearer end.
    EXPECT_EQ(blendOnto(Word(1, 2, 3, 4), 300), Word(1, 2, 3, 4));
    EXPECT_EQ(blendOnto(Word(1, 2, 3, 4), -5), src.pixels[0]);

    // Keyed blending leaves transparent pixels alone; weight 0 is a keyed copy.
    Fill(dst, Word(100, 100, 100, 100));
    BlitBlendKeyed(src, {0, 0, 2, 1}, dst, 0, 0, 128, 0);
    EXPECT_EQ(PixelsOf(dst), (std::vector{Word(177, 177, 55, 150), Word(100, 100, 100, 100)}));
    BlitBlendKeyed(src, {0, 0, 2, 1}, dst, 0, 0, 0, 0);
    EXPECT_EQ(PixelsOf(dst), (std::vector{src.pixels[0], Word(100, 100, 100, 100)}));
}

TEST_F(Blit, RectanglesMoveToTheDestinationPointAndDrawOnlyWhatOverlaps)
{
    Surface src(8, 8), dst(10, 10);
    FillDistinct(src);
    const uint32_t noKey = 0x00ABCDEF;  // the colour of no pixel of src
    struct Placement {
        RECT r;
        int dx, dy;
    };
    // Inside both; over either surface's edges; one column, one row or one pixel at the far
    // edges; touching an edge from outside; empty and upside-down rectangles.
    const Placement placements[] = {
        {{2, 1, 6, 5}, 5, 3},   {{1, -2, 8, 8}, -3, 6}, {{0, 0, 8, 8}, 0, 0},
        {{-3, 0, 12, 8}, 0, 0}, {{0, 0, 8, 8}, 3, 4},   {{7, 0, 8, 8}, 9, 0},
        {{0, 7, 8, 8}, 0, 9},   {{0, 0, 8, 8}, 9, 9},   {{0, 0, 8, 8}, -7, -7},
        {{0, 0, 8, 8}, 10, 0},  {{0, 0, 8, 8}, 0, -8},  {{0, 0, 8, 8}, -8, 0},
        {{8, 0, 10, 8}, 0, 0},  {{0, -4, 8, 0}, 0, 0},  {{4, 4, 4, 8}, 0, 0},
        {{4, 4, 2, 8}, 0, 0},   {{1, 6, 3, 2}, 0, 0},
    };
    for (const Placement& p : placements) {
        for (int blit = 0; blit < 3; blit++) {
            Fill(dst, kBackground);
            if (blit == 0)
                BlitKeyed(src, p.r, dst, p.dx, p.dy, noKey);
            else if (blit == 1)
                BlitBlend(src, p.r, dst, p.dx, p.dy, 0);
            else
                BlitBlendKeyed(src, p.r, dst, p.dx, p.dy, 0, noKey);
            for (int y = 0; y < 10; y++) {
                for (int x = 0; x < 10; x++) {
                    int sx = x - p.dx + p.r.left, sy = y - p.dy + p.r.top;
                    bool inside = sx >= std::max(p.r.left, 0) && sx < std::min(p.r.right, 8) &&
                                  sy >= std::max(p.r.top, 0) && sy < std::min(p.r.bottom, 8);
                    ASSERT_EQ(dst.GetPixel(x, y), inside ? src.GetPixel(sx, sy) : kBackground)
                        << "blit " << blit << ", placement " << &p - placements << ": " << x << ","
                        << y;
                }
            }
        }
    }
}

}  // namespace
