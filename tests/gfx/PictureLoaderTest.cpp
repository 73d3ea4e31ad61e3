// Pictures decoded from their bytes: 24-bit and 32-bit, rows bottom-up, and every kind of damage
// reported by name with a blank picture instead of a read beyond the bytes; and pictures loaded
// from an archive as their entry's bytes, decoded.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "archive/ResourceArchive.h"
#include "gfx/PictureLoader.h"
#include "gfx/Surface.h"
#include "tests/gfx/GfxTestKit.h"

using namespace testfiles;

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

// The picture decoded as "logo.bmp"; the bytes end where the vector does, so a read past them
// shows under the sanitizers.
std::unique_ptr<Surface> Decode(const Bytes& picture, std::string& error)
{
    return std::unique_ptr<Surface>(DecodePicture(nullptr, picture, "logo.bmp", error));
}

// The picture loaded as name from an archive where other entries lie on either side of
// "logo.bmp".
std::unique_ptr<Surface> Load(const Bytes& picture, std::string& error, const char* name)
{
    const ArchivePair pair = PackArchive({{"other.bmp", Bmp(1, 1, 32, Bytes(4, 9))},
                                          {"logo.bmp", picture},
                                          {"after.bmp", Bytes(64, 0xEE)}});
    ResourceArchive archive("pack", pair.index, pair.data);
    EXPECT_EQ(archive.error(), "");
    return std::unique_ptr<Surface>(LoadPicture(nullptr, archive, name, error));
}

TEST(PictureLoader, PixelsFillFromTheBottomRow)
{
    // 24-bit: the file's first triplet (blue 1, green 2, red 3) is the bottom-left pixel, and
    // each row of width 3 ends in 3 bytes of padding.
    std::string error;
    auto surface = Decode(Bmp(3, 2, 24, Counting(24)), error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(surface->width, 3);
    ASSERT_EQ(surface->height, 2);
    ASSERT_NE(surface->dc, nullptr);
    EXPECT_EQ(PixelsOf(*surface),
              (std::vector<uint32_t>{0x030201, 0x060504, 0x090807, 0x0F0E0D, 0x121110, 0x151413}));
    // A row wider than a surface's spare words, so that a row too many shows under ASan.
    surface = Decode(Bmp(64, 1, 24, Counting(192)), error);
    EXPECT_EQ(surface->GetPixel(63, 0), 0x00C0BFBEu);
    // 32-bit pixels keep their fourth byte.
    surface = Decode(Bmp(2, 3, 32, Counting(24)), error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(surface->GetPixel(0, 0), 0x04030201u);
    EXPECT_EQ(surface->GetPixel(1, 2), 0x18171615u);
}

TEST(PictureLoader, DamagedOrMissingPicturesAreReportedByNameAndLeftBlank)
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
        std::string error;
        auto surface = Decode(c.file, error);
        EXPECT_EQ(error.rfind("logo.bmp: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        ASSERT_EQ(surface->width, c.width) << error;
        ASSERT_EQ(surface->height, c.height) << error;
        EXPECT_EQ(PixelsOf(*surface), std::vector<uint32_t>(c.width * c.height, 0)) << error;
    }
    std::string error;
    auto missing = Load(good, error, "absent.bmp");
    EXPECT_EQ(error, "absent.bmp: not in the archive");
    EXPECT_EQ(PixelsOf(*missing), std::vector<uint32_t>{0});
}

TEST(PictureLoader, AnArchivePictureIsItsEntryDecodedAndNothingBeyondIt)
{
    std::string error;
    const Bytes picture = Bmp(3, 2, 24, Counting(24));
    auto loaded = Load(picture, error, "logo.bmp");
    ASSERT_EQ(error, "");
    EXPECT_EQ(PixelsOf(*loaded), PixelsOf(*Decode(picture, error)));
    ASSERT_NE(loaded->dc, nullptr);
    // Short entries with the next entry's bytes right behind: only the entry's own count.
    const Bytes good = Bmp(4, 2, 32, Counting(32));
    loaded = Load(Bytes(good.begin(), good.end() - 1), error, "logo.bmp");
    EXPECT_EQ(error, "logo.bmp: picture is cut short (31 pixel bytes of 32)");
    EXPECT_EQ(PixelsOf(*loaded), std::vector<uint32_t>(8, 0));
    loaded = Load(Bytes(10, 'B'), error, "logo.bmp");
    EXPECT_EQ(error, "logo.bmp: picture is too short (10 bytes; its headers alone take 54)");
    EXPECT_EQ(PixelsOf(*loaded), std::vector<uint32_t>{0});
}

}  // namespace
