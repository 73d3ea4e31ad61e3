// The one pixel container: its layout, its own drawing, and the BMP files it writes.

#include <cstdio>
#include <filesystem>
#include <utility>

#include <gtest/gtest.h>

#include "gfx/BmpWriter.h"
#include "gfx/Surface.h"
#include "tests/gfx/GfxTestKit.h"

using namespace testfiles;

namespace {

namespace fs = std::filesystem;

TEST(Surface, PixelsLieBottomUpAndDrawingStaysInside)
{
    // Blank, 32-bit, bottom-up, rows where vector loads and stores do not straddle cache lines.
    Surface plain(10, 5), canvas(nullptr, 7, 3);
    for (Surface* surface : {&plain, &canvas}) {
        EXPECT_EQ(surface->header->biHeight, surface->height);
        EXPECT_EQ(surface->header->biBitCount, 32);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(surface->pixels) % 64, 0u);
    }
    EXPECT_EQ(PixelsOf(canvas), std::vector<uint32_t>(21, 0));
    // DIB sections are 32-bit, 1 to 16384 pixels a side; a top-down picture is refused, never
    // stored the wrong way up. A surface that gets none has no area.
    struct Dib {
        int width, height, bitCount;
        bool made;
    };
    for (Dib d : {Dib{1, 1, 32, true},
                  {16384, 1, 32, true},
                  {1, 16384, 32, true},
                  {0, 3, 32, false},
                  {3, 0, 32, false},
                  {16385, 1, 32, false},
                  {1, 16385, 32, false},
                  {3, -3, 32, false},
                  {3, 3, 24, false}}) {
        BITMAPINFO info = {};
        info.bmiHeader = *canvas.header;
        info.bmiHeader.biWidth = d.width;
        info.bmiHeader.biHeight = d.height;
        info.bmiHeader.biBitCount = static_cast<WORD>(d.bitCount);
        void* bits = &info;
        HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        EXPECT_EQ(dib != nullptr, d.made) << d.width << "x" << d.height << "x" << d.bitCount;
        EXPECT_EQ(bits != nullptr, d.made);
        DeleteObject(dib);
    }
    Surface none(nullptr, 0, 4);
    EXPECT_EQ(std::vector({none.width, none.height, none.header->biHeight}), std::vector(3, 0));

    // Pixel (x, y) is word y * width + x; SetPixel ignores everything outside.
    Fill(plain, 0);
    plain.SetPixel(3, 2, 0x12345678);
    for (auto [x, y] : {std::pair{-1, 0}, {10, 0}, {0, 5}, {0, -1}})
        plain.SetPixel(x, y, 1);
    std::vector<uint32_t> expected(50, 0);
    expected[23] = 0x12345678;
    EXPECT_EQ(PixelsOf(plain), expected);

    // HalveRect halves every byte inside only, also of a rectangle reaching past the edges.
    Surface dim(4, 4);
    Fill(dim, 0xFF01807F);
    dim.SetPixel(1, 1, 0x000180FF);
    dim.HalveRect({1, 1, 3, 3});
    dim.HalveRect({-5, 3, 10, 9});
    for (int y = 0; y < 4; y++) {
        for (int x = 0; x < 4; x++) {
            bool halved = y == 3 || (x >= 1 && x < 3 && y >= 1 && y < 3);
            uint32_t expected = x == 1 && y == 1 ? 0x0000407F : halved ? 0x7F00403F : 0xFF01807F;
            ASSERT_EQ(dim.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(Surface, DrawLineStepsLikeBresenhamWithBothEnds)
{
    using Points = std::vector<std::pair<int, int>>;
    auto lit = [](int x0, int y0, int x1, int y1) {
        Surface surface(6, 6);
        Fill(surface, 0);
        surface.DrawLine(x0, y0, x1, y1, 1);
        Points points;
        for (int y = 0; y < 6; y++) {
            for (int x = 0; x < 6; x++) {
                if (surface.GetPixel(x, y))
                    points.push_back({x, y});
            }
        }
        return points;
    };
    EXPECT_EQ(lit(0, 0, 3, 1), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(lit(3, 1, 0, 0), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(lit(-2, 0, 2, 0), (Points{{0, 0}, {1, 0}, {2, 0}}));
    // Steep lines step along y; a tie steps along x, one pixel per column. Half way across,
    // the line has stepped.
    EXPECT_EQ(lit(1, 0, 2, 3), (Points{{1, 0}, {1, 1}, {2, 2}, {2, 3}}));
    EXPECT_EQ(lit(0, 0, 2, 1), (Points{{0, 0}, {1, 1}, {2, 1}}));
    EXPECT_EQ(lit(0, 0, 1, 2), (Points{{0, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(lit(0, 4, 4, 0), (Points{{4, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 4}}));
}

TEST(BmpWriter, ATwoPixelSurfaceMakesThe66ByteFile)
{
    TempFolder folder;
    Surface surface(2, 1);
    surface.pixels[0] = 0x00112233;
    surface.pixels[1] = 0x00445566;
    ASSERT_TRUE(SaveBmp(surface, (folder / "two.bmp").c_str()));
    Bytes expected = {
        'B',  'M',  66,   0, 0,    0,    0,    0, 0, 0, 58, 0, 0, 0,  // file header
        40,   0,    0,    0, 2,    0,    0,    0, 1, 0, 0,  0, 1, 0,
        32,   0,  // size, width, height, planes, bits
        0,    0,    0,    0, 0,    0,    0,    0, 0, 0, 0,  0, 0, 0,
        0,    0,                                   // compression .. y resolution
        0,    0,    0,    0, 0,    0,    0,    0,  // colours used and important
        0,    0,    0,    0,                       // the gap behind the header
        0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0,  // pixels, bottom row first
    };
    EXPECT_EQ(ReadFile(folder / "two.bmp"), expected);

    // A surface with a device context writes from its DIB section and replaces the file whole.
    Surface frame(nullptr, 320, 240);
    frame.SetPixel(319, 239, 0x00ABCDEF);
    ASSERT_TRUE(SaveBmp(frame, (folder / "two.bmp").c_str()));
    Bytes file = ReadFile(folder / "two.bmp");
    ASSERT_EQ(file.size(), 307258u);
    EXPECT_EQ(file[2] | file[3] << 8 | file[4] << 16, 307258);
    EXPECT_EQ(Bytes(file.end() - 4, file.end()), (Bytes{0xEF, 0xCD, 0xAB, 0}));

    // A file that cannot be written leaves nothing.
    EXPECT_FALSE(SaveBmp(surface, (folder / "missing-folder/x.bmp").c_str()));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 1);
}

TEST(Snapshot, TakesTheFirstFreeNumberAndOverwritesTheLastWhenAllAreTaken)
{
    TempFolder folder(true);
    Surface frame(3, 2);
    Fill(frame, 0x00102030);
    const uintmax_t size = 3 * 2 * 4 + 58;
    WriteFile("Snap0000.bmp", Bytes{1});
    WriteFile("Snap0002.bmp", Bytes{2});
    SaveSnapshot(frame);
    EXPECT_EQ(fs::file_size("Snap0001.bmp"), size);
    SaveSnapshot(frame);
    EXPECT_EQ(fs::file_size("Snap0003.bmp"), size);
    EXPECT_EQ(ReadFile("Snap0002.bmp"), Bytes{2});
    // A file deleted meanwhile is reused first.
    fs::remove("Snap0001.bmp");
    SaveSnapshot(frame);
    EXPECT_TRUE(fs::exists("Snap0001.bmp"));
    EXPECT_FALSE(fs::exists("Snap0004.bmp"));

    char name[16];
    for (int n = 0; n <= 9998; n++) {
        std::snprintf(name, sizeof name, "Snap%04d.bmp", n);
        WriteFile(name, Bytes{7});
    }
    SaveSnapshot(frame);
    EXPECT_EQ(fs::file_size("Snap9998.bmp"), size);
    EXPECT_EQ(ReadFile("Snap9997.bmp"), Bytes{7});
    EXPECT_FALSE(fs::exists("Snap9999.bmp"));
}

}  // namespace
