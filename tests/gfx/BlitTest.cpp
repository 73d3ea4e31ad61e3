#include <gtest/gtest.h>

#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "tests/gfx/GfxTestKit.h"

using namespace gfxtest;

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

}  // namespace

TEST_F(Blit, KeyedSkipsPixelsOfTheKeyColourWhateverTheirFourthByte)
{
    Surface src(4, 1), dst(4, 1);
    // Key 0x00FF0000 is pure blue: blue byte 255, green and red 0.
    src.pixels[0] = Word(255, 0, 0, 7);  // blue, fourth byte 7: transparent
    src.pixels[1] = Word(255, 0, 1, 0);  // one step of red away: copied
    src.pixels[2] = Word(0, 0, 255, 0);  // pure red: copied under a blue key
    src.pixels[3] = Word(255, 0, 0, 0);  // blue: transparent
    Fill(dst, kBackground);
    BlitKeyed(src, {0, 0, 4, 1}, dst, 0, 0, 0x00FF0000);
    EXPECT_EQ(dst.pixels[0], kBackground);
    EXPECT_EQ(dst.pixels[1], src.pixels[1]);
    EXPECT_EQ(dst.pixels[2], src.pixels[2]);
    EXPECT_EQ(dst.pixels[3], kBackground);

    // Red key: the other byte order of the key.
    Fill(dst, kBackground);
    BlitKeyed(src, {0, 0, 4, 1}, dst, 0, 0, 0x000000FF);
    EXPECT_EQ(dst.pixels[0], src.pixels[0]);
    EXPECT_EQ(dst.pixels[2], kBackground);
}

TEST_F(Blit, RectanglesMoveBySourceOffsetToTheDestinationPoint)
{
    Surface src(20, 16), keyed(200, 100), blended(200, 100);
    FillDistinct(src);
    Fill(keyed, kBackground);
    Fill(blended, kBackground);
    BlitKeyed(src, {8, 4, 16, 12}, keyed, 100, 50, 0x00123456);
    EXPECT_EQ(keyed.GetPixel(100, 50), src.GetPixel(8, 4));
    EXPECT_EQ(keyed.GetPixel(107, 57), src.GetPixel(15, 11));
    EXPECT_EQ(keyed.GetPixel(108, 57), kBackground);
    EXPECT_EQ(keyed.GetPixel(100, 58), kBackground);
    EXPECT_EQ(keyed.GetPixel(99, 50), kBackground);

    // Row 5 of the source lands on row 20, as with BlitKeyed.
    BlitBlend(src, {0, 5, 4, 6}, blended, 10, 20, 0);
    BlitKeyed(src, {0, 5, 4, 6}, keyed, 10, 20, 0x00123456);
    for (int x = 0; x < 4; x++) {
        EXPECT_EQ(blended.GetPixel(10 + x, 20), src.GetPixel(x, 5));
        EXPECT_EQ(keyed.GetPixel(10 + x, 20), src.GetPixel(x, 5));
    }
    EXPECT_EQ(blended.GetPixel(10, 21), kBackground);
    EXPECT_EQ(blended.GetPixel(10, 19), kBackground);
}

TEST_F(Blit, BlendWeighsTheDestinationOnEveryByte)
{
    Surface src(1, 1), dst(1, 1);
    src.pixels[0] = Word(255, 255, 10, 200);
    auto blendOnto = [&](uint32_t under, int alpha) {
        dst.pixels[0] = under;
        BlitBlend(src, {0, 0, 1, 1}, dst, 0, 0, alpha);
        return dst.pixels[0];
    };
    EXPECT_EQ(blendOnto(Word(0, 9, 0, 0), 0), src.pixels[0]);
    EXPECT_EQ(blendOnto(Word(0, 9, 0, 0), 256), Word(0, 9, 0, 0));
    // Half and half, rounded down: 255 over 0 gives 127; the fourth byte blends too.
    EXPECT_EQ(blendOnto(Word(0, 255, 20, 0), 128), Word(127, 255, 15, 100));
    // (d*a + s*(256-a)) >> 8 with a = 64: (100*64 + 255*192) >> 8 = 216.
    EXPECT_EQ(blendOnto(Word(100, 100, 100, 100), 64), Word(216, 216, 32, 175));
    // Weights beyond 0..256 are taken as the nearer end.
    EXPECT_EQ(blendOnto(Word(1, 2, 3, 4), 300), Word(1, 2, 3, 4));
    EXPECT_EQ(blendOnto(Word(1, 2, 3, 4), -5), src.pixels[0]);
}

TEST_F(Blit, BlendKeyedLeavesTransparentPixelsAndBlendsTheRest)
{
    Surface src(2, 1), dst(2, 1);
    src.pixels[0] = Word(0, 0, 0, 99);  // black under a black key, whatever the fourth byte
    src.pixels[1] = Word(200, 0, 0, 0);
    Fill(dst, Word(100, 100, 100, 100));
    BlitBlendKeyed(src, {0, 0, 2, 1}, dst, 0, 0, 128, 0);
    EXPECT_EQ(dst.pixels[0], Word(100, 100, 100, 100));
    EXPECT_EQ(dst.pixels[1], Word(150, 50, 50, 50));
    // Weight 0 is a keyed copy.
    BlitBlendKeyed(src, {0, 0, 2, 1}, dst, 0, 0, 0, 0);
    EXPECT_EQ(dst.pixels[0], Word(100, 100, 100, 100));
    EXPECT_EQ(dst.pixels[1], src.pixels[1]);
}

TEST_F(Blit, RectanglesReachingPastAnEdgeDrawOnlyWhatOverlaps)
{
    Surface src(8, 8), dst(10, 10);
    FillDistinct(src);
    Fill(dst, kBackground);
    // Hangs over the destination's left and top (on screen) edges and the source's bottom.
    BlitKeyed(src, {0, -2, 8, 8}, dst, -3, 6, 0x00ABCDEF);
    for (int y = 0; y < 10; y++) {
        for (int x = 0; x < 10; x++) {
            int sx = x + 3, sy = y - 6 - 2;
            bool inside = x < 5 && sy >= 0 && sy < 8 && y < 10;
            uint32_t expected = inside ? src.GetPixel(sx, sy) : kBackground;
            ASSERT_EQ(dst.GetPixel(x, y), expected) << x << "," << y;
        }
    }
    // Entirely outside, or an empty rectangle: nothing happens.
    auto before = PixelsOf(dst);
    BlitBlend(src, {0, 0, 8, 8}, dst, 10, 0, 128);
    BlitBlendKeyed(src, {0, 0, 8, 8}, dst, 0, -8, 128, 0);
    BlitKeyed(src, {4, 4, 4, 8}, dst, 0, 0, 0);
    BlitKeyed(src, {4, 4, 2, 8}, dst, 0, 0, 0);
    EXPECT_EQ(PixelsOf(dst), before);
}
