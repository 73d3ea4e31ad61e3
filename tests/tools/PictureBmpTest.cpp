// The BMP form of the pictures: the game's loader takes the pixels right behind the 54 header
// bytes, bottom row first, and the colour key must land exactly where nothing was drawn.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/pictures/Bmp.h"

namespace {

uint32_t Word(const std::vector<unsigned char>& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t{bytes[at + 3]} << 24;
}

TEST(PictureBmp, BottomRowFirstWithTheKeyInTheClearPixels)
{
    Image picture(3, 2);
    picture.set(0, 0, 0x112233);  // top left
    picture.set(2, 1, 0xA0B0C0);  // bottom right
    std::vector<unsigned char> bmp = EncodeBmp(picture, 0x0000FF);

    ASSERT_EQ(bmp.size(), 54u + 3 * 2 * 4);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Word(bmp, 2), bmp.size());
    EXPECT_EQ(Word(bmp, 10), 54u);  // pixels follow the headers directly
    EXPECT_EQ(Word(bmp, 14), 40u);
    EXPECT_EQ(Word(bmp, 18), 3u);
    EXPECT_EQ(Word(bmp, 22), 2u);  // positive: bottom-up
    EXPECT_EQ(bmp[28] | bmp[29] << 8, 32);
    EXPECT_EQ(Word(bmp, 30), 0u);  // BI_RGB

    // Pixel words as the game reads them: 0x00RRGGBB, bottom row first.
    const uint32_t expected[] = {0x0000FF, 0x0000FF, 0xA0B0C0, 0x112233, 0x0000FF, 0x0000FF};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Word(bmp, 54 + 4 * i), expected[i]) << "pixel " << i;
}

}  // namespace
