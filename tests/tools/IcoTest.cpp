// The Windows icon: every size the picture builder draws is in the one .ico, each directory
// entry naming its size and pointing at exactly its own PNG, as Explorer reads it.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/pictures/Ico.h"
#include "tools/pictures/Icons.h"
#include "tools/pictures/Png.h"
#include "tools/pictures/Sources.h"

namespace {

uint32_t Read16(const std::vector<unsigned char>& bytes, size_t at)
{
    return bytes.at(at) | uint32_t{bytes.at(at + 1)} << 8;
}

uint32_t Read32(const std::vector<unsigned char>& bytes, size_t at)
{
    return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

}  // namespace

TEST(WindowsIcon, HoldsEveryIconSizeEachPointingAtItsOwnPicture)
{
    Sources sources;
    std::string error;
    ASSERT_TRUE(sources.Load(KORIMO_SOURCE_DIR "/assets/pictures", error)) << error;
    std::vector<IcoImage> images;
    for (int size : IconSizes())
        images.push_back({size, EncodePng(BuildIcon(sources, size))});
    ASSERT_TRUE(sources.problems.empty());

    const std::vector<unsigned char> ico = PackIco(images);
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(Read16(ico, 0), 0u);
    EXPECT_EQ(Read16(ico, 2), 1u);  // an icon
    ASSERT_EQ(Read16(ico, 4), images.size());
    size_t end = 6 + 16 * images.size();
    for (size_t i = 0; i < images.size(); i++) {
        SCOPED_TRACE(images[i].size);
        const size_t entry = 6 + 16 * i;
        // One byte each way, 0 meaning 256.
        const int width = ico.at(entry) ? ico.at(entry) : 256;
        const int height = ico.at(entry + 1) ? ico.at(entry + 1) : 256;
        EXPECT_EQ(width, images[i].size);
        EXPECT_EQ(height, images[i].size);
        EXPECT_EQ(Read16(ico, entry + 6), 32u);
        const uint32_t bytes = Read32(ico, entry + 8);
        const uint32_t offset = Read32(ico, entry + 12);
        // The pictures follow one another with nothing between or after them.
        EXPECT_EQ(offset, end);
        ASSERT_LE(size_t{offset} + bytes, ico.size());
        EXPECT_EQ(std::vector<unsigned char>(ico.begin() + offset, ico.begin() + offset + bytes),
                  images[i].png);
        end = offset + bytes;
    }
    EXPECT_EQ(end, ico.size());
    EXPECT_EQ(IconSizes().front(), 16);
    EXPECT_EQ(IconSizes().back(), 256);
}
