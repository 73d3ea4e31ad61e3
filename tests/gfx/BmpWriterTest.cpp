// Pictures written to disk: the exact file layout, the snapshot numbering, and failures that
// leave nothing behind.

#include <filesystem>

#include <gtest/gtest.h>

#include "gfx/Surface.h"
#include "tests/gfx/GfxTestKit.h"

using namespace gfxtest;

namespace fs = std::filesystem;

TEST(BmpWriter, ATwoPixelSurfaceMakesThe66ByteFile)
{
    TempFolder folder;
    Surface surface(2, 1);
    surface.pixels[0] = 0x00112233;
    surface.pixels[1] = 0x00445566;
    ASSERT_TRUE(surface.SaveBmp((folder / "two.bmp").c_str()));
    Bytes file = ReadFile(folder / "two.bmp");
    Bytes expected = {
        'B', 'M', 66, 0, 0, 0, 0, 0, 0, 0, 58, 0, 0, 0,     // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 32, 0,  // size, width, height, planes, bits
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    // compression .. y resolution
        0, 0, 0, 0, 0, 0, 0, 0,                            // colours used and important
        0, 0, 0, 0,                                        // the gap behind the header
        0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0,          // pixels, bottom row first
    };
    EXPECT_EQ(file, expected);

    // A surface with a device context writes the same layout from its DIB section, and
    // replaces an existing file whole.
    Surface frame(nullptr, 320, 240);
    frame.SetPixel(319, 239, 0x00ABCDEF);
    ASSERT_TRUE(frame.SaveBmp((folder / "two.bmp").c_str()));
    file = ReadFile(folder / "two.bmp");
    ASSERT_EQ(file.size(), 307258u);
    EXPECT_EQ(file[2] | file[3] << 8 | file[4] << 16, 307258);
    EXPECT_EQ(Bytes(file.end() - 4, file.end()), (Bytes{0xEF, 0xCD, 0xAB, 0}));
}

TEST(BmpWriter, AFileThatCannotBeWrittenLeavesNothing)
{
    TempFolder folder;
    Surface surface(2, 2);
    EXPECT_FALSE(surface.SaveBmp((folder / "missing-folder/x.bmp").c_str()));
    EXPECT_TRUE(fs::is_empty(folder.path));
}

TEST(Snapshot, TakesTheFirstFreeNumberEveryTime)
{
    TempFolder folder(true);
    Surface frame(3, 2);
    Fill(frame, 0x00102030);
    WriteFile("Snap0000.bmp", Bytes{1});
    WriteFile("Snap0002.bmp", Bytes{2});
    frame.SaveSnapshot();
    EXPECT_EQ(fs::file_size("Snap0001.bmp"), 3u * 2 * 4 + 58);
    frame.SaveSnapshot();
    EXPECT_EQ(fs::file_size("Snap0003.bmp"), 3u * 2 * 4 + 58);
    EXPECT_EQ(ReadFile("Snap0002.bmp"), Bytes{2});
    // A file deleted meanwhile is reused first.
    fs::remove("Snap0001.bmp");
    frame.SaveSnapshot();
    EXPECT_TRUE(fs::exists("Snap0001.bmp"));
    EXPECT_FALSE(fs::exists("Snap0004.bmp"));
}

TEST(Snapshot, WhenEveryNumberIsTakenTheLastIsOverwritten)
{
    TempFolder folder(true);
    char name[16];
    for (int n = 0; n <= 9998; n++) {
        std::snprintf(name, sizeof name, "Snap%04d.bmp", n);
        WriteFile(name, Bytes{7});
    }
    Surface frame(2, 2);
    Fill(frame, 0);
    frame.SaveSnapshot();
    EXPECT_EQ(fs::file_size("Snap9998.bmp"), 2u * 2 * 4 + 58);
    EXPECT_EQ(ReadFile("Snap9997.bmp"), Bytes{7});
    EXPECT_FALSE(fs::exists("Snap9999.bmp"));
}
