// Pictures loaded from an archive: 24-bit and 32-bit, rows bottom-up, and every kind of damage
// reported by name with a blank picture instead of a read beyond the entry.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "archive/ResourceArchive.h"
#include "gfx/Surface.h"
#include "tests/gfx/GfxTestKit.h"

using namespace gfxtest;

namespace {

// Pixel bytes 1, 2, 3, ... so that every byte's place shows.
Bytes Counting(size_t count)
{
    Bytes bytes(count);
    for (size_t i = 0; i < count; i++)
        bytes[i] = static_cast<uint8_t>(i + 1);
    return bytes;
}

Bytes WithField(Bytes file, size_t at, uint32_t value, int size)
{
    PutLE(file, at, value, size);
    return file;
}

class PictureLoader : public testing::Test {
protected:
    std::unique_ptr<Surface> Load(const Bytes& picture, const char* name = "picture.bmp")
    {
        WriteArchive(folder / "pack", {{"other.bmp", Bmp(1, 1, 32, Bytes(4, 9))},
                                       {name, picture},
                                       {"after.bmp", Bytes(64, 0xEE)}});
        ResourceArchive archive((folder / "pack").c_str());
        EXPECT_EQ(archive.error(), "");
        return std::make_unique<Surface>(nullptr, archive, name);
    }

    TempFolder folder;
};

}  // namespace

TEST_F(PictureLoader, TwentyFourBitTripletsFillPixelsFromTheBottomRow)
{
    auto surface = Load(Bmp(8, 2, 24, Counting(48)));
    ASSERT_STREQ(surface->loadError(), "");
    ASSERT_EQ(surface->width, 8);
    ASSERT_EQ(surface->height, 2);
    // The file's first triplet (blue 1, green 2, red 3) is the bottom-left pixel.
    EXPECT_EQ(surface->GetPixel(0, 0), 0x00030201u);
    EXPECT_EQ(surface->GetPixel(7, 0), 0x00181716u);
    EXPECT_EQ(surface->GetPixel(0, 1), 0x001B1A19u);
    EXPECT_EQ(surface->GetPixel(7, 1), 0x00302F2Eu);
    ASSERT_NE(surface->dc, nullptr);
}

TEST_F(PictureLoader, TwentyFourBitRowsSkipTheirPadding)
{
    // Width 3: 9 bytes of pixels and 3 of padding per row.
    Bytes rows = Counting(24);
    auto surface = Load(Bmp(3, 2, 24, rows));
    ASSERT_STREQ(surface->loadError(), "");
    EXPECT_EQ(surface->GetPixel(2, 0), 0x00090807u);
    EXPECT_EQ(surface->GetPixel(0, 1), 0x000F0E0Du);
}

TEST_F(PictureLoader, ThirtyTwoBitPixelsKeepTheirFourthByte)
{
    auto surface = Load(Bmp(2, 3, 32, Counting(24)));
    ASSERT_STREQ(surface->loadError(), "");
    EXPECT_EQ(surface->GetPixel(0, 0), 0x04030201u);
    EXPECT_EQ(surface->GetPixel(1, 2), 0x18171615u);
}

TEST_F(PictureLoader, DamagedPicturesAreReportedByNameAndLeftBlank)
{
    Bytes good = Bmp(4, 2, 32, Counting(32));
    struct Case {
        Bytes file;
        const char* says;
        int width, height;  // of the blank picture left behind
    } cases[] = {
        {Bytes(10, 'B'), "too short", 1, 1},
        {WithField(good, 0, 'X', 1), "BM", 1, 1},
        {WithField(good, 14, 124, 4), "header size 124", 1, 1},
        {WithField(good, 18, 0, 4), "width 0", 1, 1},
        {WithField(good, 18, 100000, 4), "width 100000", 1, 1},
        {WithField(good, 22, 0, 4), "height 0", 1, 1},
        {WithField(good, 22, uint32_t(-2), 4), "height -2", 1, 1},
        {WithField(good, 28, 16, 2), "16-bit", 4, 2},
        {WithField(good, 28, 8, 2), "8-bit", 4, 2},
        {WithField(good, 30, 3, 4), "compression 3", 4, 2},
        // One pixel byte missing, and headers claiming far more rows than there are: a
        // claim too large for a blank of that size is not trusted with the memory.
        {Bytes(good.begin(), good.end() - 1), "cut short", 4, 2},
        {WithField(good, 22, 16000, 4), "cut short", 4, 16000},
        {WithField(WithField(good, 18, 16000, 4), 22, 16000, 4), "cut short", 1, 1},
    };
    for (const Case& c : cases) {
        auto surface = Load(c.file, "logo.bmp");
        std::string error = surface->loadError();
        EXPECT_EQ(error.rfind("logo.bmp: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        ASSERT_EQ(surface->width, c.width) << error;
        ASSERT_EQ(surface->height, c.height) << error;
        EXPECT_EQ(PixelsOf(*surface), std::vector<uint32_t>(c.width * c.height, 0)) << error;
    }
}

TEST_F(PictureLoader, AMissingNameGivesABlankPictureAndSaysSo)
{
    WriteArchive(folder / "pack", {{"present.bmp", Bmp(1, 1, 32, Bytes(4, 1))}});
    ResourceArchive archive((folder / "pack").c_str());
    Surface missing(nullptr, archive, "absent.bmp");
    EXPECT_STREQ(missing.loadError(), "absent.bmp: not in the archive");
    EXPECT_EQ(missing.width, 1);
    EXPECT_EQ(missing.height, 1);
    EXPECT_EQ(missing.GetPixel(0, 0), 0u);
}
