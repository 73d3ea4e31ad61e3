// Every fast path gives the reference loops' bytes exactly, over random sizes, positions, keys,
// weights and contents; the rotated copy, which copies whole runs of each row without testing
// pixels, at every angle, for pictures smaller and larger than the destination and odd sizes.

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "gfx/Draw.h"
#include "gfx/DrawPaths.h"
#include "gfx/DrawReference.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "tests/gfx/GfxTestKit.h"

using namespace testfiles;

namespace {

class FastPath : public testing::TestWithParam<DrawPath> {
protected:
    void SetUp() override
    {
        if (!CanUseDrawPath(GetParam()))
            GTEST_SKIP() << DrawPathName(GetParam()) << " is not available on this processor";
        BuildTables();
        ASSERT_TRUE(UseDrawPath(GetParam()));
    }
    void TearDown() override { UseDrawPath(BestDrawPath()); }

    int Between(int low, int high) { return std::uniform_int_distribution(low, high)(random); }
    uint32_t Word() { return static_cast<uint32_t>(random()); }

    // Sprite-like contents: runs of the key colour (with any fourth byte, which the key must
    // ignore) between runs of arbitrary pixels, some one bit away from the key.
    void FillSprite(Surface& surface, uint32_t key)
    {
        uint32_t keyPixel = ((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF);
        for (int i = 0, count = surface.width * surface.height; i < count;) {
            int kind = Between(0, 3);
            for (int run = Between(1, 12); run > 0 && i < count; run--, i++) {
                uint32_t fourth = Word() & 0xFF000000;
                surface.pixels[i] = kind == 0   ? keyPixel | fourth
                                    : kind == 1 ? (keyPixel ^ (1u << Between(0, 23))) | fourth
                                                : Word();
            }
        }
    }

    std::mt19937 random{20240611};
};

TEST_P(FastPath, BlitsMatchTheReferenceLoops)
{
    for (int round = 0; round < 600; round++) {
        // Keys as the game uses them (blue, red, black) and arbitrary ones; weights at and
        // near the ends, and anywhere between.
        const uint32_t keys[] = {0x00FF0000, 0x000000FF, 0, Word() & 0x00FFFFFF};
        const int ends[] = {0, 1, 128, 255, 256};
        uint32_t key = keys[Between(0, 3)];
        int alpha = Between(0, 3) == 0 ? ends[Between(0, 4)] : Between(0, 256);
        Surface src(Between(1, 70), Between(1, 24)), dst(Between(1, 90), Between(1, 30));
        FillSprite(src, key);
        FillDistinct(dst, Word());
        Surface expected(dst.width, dst.height);
        std::copy(dst.pixels, dst.pixels + dst.width * dst.height, expected.pixels);

        // A rectangle inside the source, placed inside the destination.
        int width = Between(0, std::min(src.width, dst.width));
        int height = Between(0, std::min(src.height, dst.height));
        int left = Between(0, src.width - width), top = Between(0, src.height - height);
        RECT r = {left, top, left + width, top + height};
        int dx = Between(0, dst.width - width), dy = Between(0, dst.height - height);

        switch (round % 3) {
        case 0:
            BlitKeyed(src, r, dst, dx, dy, key);
            BlitKeyedReference(src, r, expected, dx, dy, key);
            break;
        case 1:
            BlitBlend(src, r, dst, dx, dy, alpha);
            BlitBlendReference(src, r, expected, dx, dy, alpha);
            break;
        case 2:
            BlitBlendKeyed(src, r, dst, dx, dy, alpha, key);
            BlitBlendKeyedReference(src, r, expected, dx, dy, alpha, key);
            break;
        }
        ASSERT_EQ(PixelsOf(dst), PixelsOf(expected))
            << "round " << round << ": rect " << testing::PrintToString(Edges(r)) << " at " << dx
            << "," << dy << " alpha " << alpha;
    }
}

TEST_P(FastPath, DoublingMatchesTheReferenceLoop)
{
    for (int round = 0; round < 100; round++) {
        Surface src(Between(1, 45), Between(1, 20));
        // Exactly twice the size, or with spare columns and rows the doubling must not touch.
        Surface dst(2 * src.width + Between(0, 1) * Between(0, 9),
                    2 * src.height + Between(0, 1) * Between(0, 5));
        FillDistinct(src, Word());
        FillDistinct(dst, Word());
        Surface expected(dst.width, dst.height);
        std::copy(dst.pixels, dst.pixels + dst.width * dst.height, expected.pixels);
        Double2x(src, dst);
        Double2xReference(src, expected);
        ASSERT_EQ(PixelsOf(dst), PixelsOf(expected))
            << "round " << round << ": " << src.width << "x" << src.height << " into " << dst.width
            << "x" << dst.height;
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, FastPath, testing::Values(DrawPath::Sse2, DrawPath::Avx2),
                         [](const testing::TestParamInfo<DrawPath>& info) {
                             return std::string(DrawPathName(info.param));
                         });

TEST(BlitRotated, EveryAngleGivesTheReferenceLoopsBytes)
{
    BuildTables();
    struct Sizes {
        int srcW, srcH, dstW, dstH;
    };
    const Sizes table[] = {
        {320, 240, 320, 240},  // the title's logo on the title's frame
        {32, 32, 320, 240},   {33, 17, 40, 41},  {1, 1, 8, 8},
        {2, 3, 5, 4},         {200, 90, 64, 48}, {7, 300, 90, 30},
    };
    for (const Sizes& size : table) {
        Surface source(size.srcW, size.srcH), fast(size.dstW, size.dstH),
            expected(size.dstW, size.dstH);
        FillDistinct(source);
        for (int angle = -3; angle < 259; angle++) {
            FillDistinct(fast, 0x0BADF00D);
            FillDistinct(expected, 0x0BADF00D);
            BlitRotated(fast.pixels, fast.width, fast.height, source.pixels, size.srcW, size.srcH,
                        angle);
            BlitRotatedReference(expected.pixels, expected.width, expected.height, source.pixels,
                                 size.srcW, size.srcH, angle);
            ASSERT_EQ(PixelsOf(fast), PixelsOf(expected))
                << size.srcW << "x" << size.srcH << " into " << size.dstW << "x" << size.dstH
                << " at angle " << angle;
        }
    }
    // Wider than the fast walk's row arithmetic can address, unturned.
    Surface wide(32768, 3), fast(64, 48), expected(64, 48);
    FillDistinct(wide);
    Fill(fast, 0);
    Fill(expected, 0);
    BlitRotated(fast.pixels, 64, 48, wide.pixels, 32768, 3, 0);
    BlitRotatedReference(expected.pixels, 64, 48, wide.pixels, 32768, 3, 0);
    EXPECT_EQ(PixelsOf(fast), PixelsOf(expected));
}

}  // namespace
