// The pictures as the game finds them in the built archive, loaded through the game's own
// loader: the sizes and frame layouts the scenes and objects rely on, colour keys that leave
// nothing behind around a sprite and punch no holes into it, and landscape layers that wrap
// without a seam.

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "archive/ResourceArchive.h"
#include "gfx/PictureLoader.h"
#include "gfx/Surface.h"

namespace {

// Pixel words 0x00RRGGBB without the fourth byte, which is not part of the colour: the key
// 0x00FF0000 (blue in the game's 0x00BBGGRR) reads 0x0000FF.
constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF, kRed = 0xFF0000;

struct Sheet {
    const char* name;
    int frames;
    uint32_t key;
    int smallest, largest;  // the side of one frame, each way
};

// The sprite sheets, with the sizes the objects are designed around.
const Sheet kSheets[] = {
    {"velani.bmp", 4, kBlack, 16, 32},   {"shot.bmp", 1, kBlack, 4, 24},
    {"laser.bmp", 1, kBlack, 4, 64},     {"bbolo.bmp", 1, kBlue, 16, 32},
    {"bbolo2.bmp", 1, kBlue, 16, 32},    {"tarune.bmp", 1, kBlue, 16, 32},
    {"morisel.bmp", 1, kBlack, 24, 32},  {"kanel.bmp", 1, kBlack, 24, 32},
    {"bolo.bmp", 1, kRed, 16, 32},       {"tama.bmp", 4, kBlack, 6, 10},
    {"bom.bmp", 4, kBlack, 12, 20},      {"nazo.bmp", 1, kWhite, 10, 14},
    {"onpu.bmp", 1, kWhite, 12, 20},     {"beam.bmp", 1, kBlack, 9, 32},
    {"bazooka.bmp", 1, kBlack, 9, 32},   {"exp.bmp", 4, kBlack, 32, 32},
    {"exp2.bmp", 5, kBlack, 48, 48},     {"kasuri.bmp", 4, kBlack, 12, 20},
    {"text.bmp", 10, kBlack, 8, 16},     {"bombertext.bmp", 1, kBlack, 20, 300},
    {"menu.bmp", 1, kBlack, 40, 400},
};

class ArchivePictures : public ::testing::Test {
protected:
    std::unique_ptr<Surface> Load(const char* name)
    {
        EXPECT_EQ(archive.error(), "");
        std::string error;
        std::unique_ptr<Surface> surface(LoadPicture(nullptr, archive, name, error));
        EXPECT_EQ(error, "") << name;
        return surface;
    }

    static std::pair<int, int> Size(const Surface& s) { return {s.width, s.height}; }
    // The colour at device coordinates, row 0 at the top.
    static uint32_t At(const Surface& s, int x, int rowFromTop)
    {
        return s.pixels[static_cast<size_t>(s.height - 1 - rowFromTop) * s.width + x] & 0xFFFFFF;
    }

    ResourceArchive archive{KORIMO_RUN_DIR "/korimo"};
};

TEST_F(ArchivePictures, EveryPictureTheGameLoadsHasItsSizeAndFrames)
{
    for (const char* name : {"black.bmp", "logo.bmp", "opening.bmp", "gameover.bmp",
                             "tomu_sora.bmp", "bomber.bmp"})
        EXPECT_EQ(Size(*Load(name)), std::pair(320, 240)) << name;
    auto black = Load("black.bmp");
    for (int i = 0; i < 320 * 240; ++i)
        ASSERT_EQ(black->pixels[i] & 0xFFFFFF, kBlack) << "the fades need pure black";
    // The ending scrolls 320 columns through more than a screen of rows; the gauge shows one
    // column per point, up to 96, eight rows high.
    auto roll = Load("staffroll.bmp"), bar = Load("bar.bmp");
    EXPECT_EQ(roll->width, 320);
    EXPECT_GE(roll->height, 1000);
    EXPECT_LE(roll->height, 1400);
    EXPECT_GE(bar->width, 96);
    EXPECT_GE(bar->height, 8);

    for (const Sheet& sheet : kSheets) {
        auto s = Load(sheet.name);
        ASSERT_EQ(s->width % sheet.frames, 0) << sheet.name;
        int frameWidth = s->width / sheet.frames;
        EXPECT_GE(frameWidth, sheet.smallest) << sheet.name;
        EXPECT_LE(frameWidth, sheet.largest) << sheet.name;
        EXPECT_GE(s->height, std::min(sheet.smallest, 9)) << sheet.name;
        EXPECT_LE(s->height, sheet.largest) << sheet.name;
    }
    EXPECT_EQ(Size(*Load("velani.bmp")), std::pair(4 * 32, 16));
    EXPECT_EQ(Size(*Load("text.bmp")), std::pair(10 * 8, 16));
    EXPECT_LT(Load("shot.bmp")->width, Load("laser.bmp")->width);
    EXPECT_LE(Load("bombertext.bmp")->height, 60);
}

TEST_F(ArchivePictures, KeysSurroundEverySpriteAndNeverPunchHoles)
{
    for (const Sheet& sheet : kSheets) {
        auto s = Load(sheet.name);
        int frameWidth = s->width / sheet.frames, bottom = s->height - 1;
        auto isKey = [&](int x, int row) { return At(*s, x, row) == sheet.key; };
        for (int left = 0; left < s->width; left += frameWidth) {
            SCOPED_TRACE(testing::Message() << sheet.name << " frame " << left / frameWidth);
            int right = left + frameWidth - 1, drawn = 0;
            for (int corner : {0, 1, 2, 3})
                EXPECT_TRUE(isKey(corner & 1 ? right : left, corner & 2 ? bottom : 0)) << corner;
            for (int row = 0; row <= bottom; ++row) {
                for (int x = left; x <= right; ++x) {
                    drawn += !isKey(x, row);
                    // A key pixel walled in on all four sides is a hole in the sprite.
                    bool walled = isKey(x, row) && x > left && x < right && row > 0 &&
                                  row < bottom && !isKey(x - 1, row) && !isKey(x + 1, row) &&
                                  !isKey(x, row - 1) && !isKey(x, row + 1);
                    EXPECT_FALSE(walled) << "hole at (" << x - left << ", " << row << ")";
                }
            }
            EXPECT_GT(drawn, 0) << "empty";
        }
    }
}

TEST_F(ArchivePictures, LandscapeLayersRepeatWithoutASeam)
{
    struct Layer {
        const char* name;
        int period, width, height;
        uint32_t key;
    };
    // The background moves 1216 columns before it starts over, the tree band 640; each is read
    // 320 columns past that point, and the tree band's bottom 90 rows are shown.
    for (Layer layer : {Layer{"tomu_bg.bmp", 1216, 1536, 240, kGreen},
                        Layer{"tomu_ki.bmp", 640, 960, 90, kWhite}}) {
        SCOPED_TRACE(layer.name);
        auto s = Load(layer.name);
        ASSERT_GE(s->width, layer.width);
        ASSERT_GE(s->height, layer.height);
        for (int row = 0; row < s->height; ++row) {
            for (int x = 0; x < 320; ++x)
                ASSERT_EQ(At(*s, x, row), At(*s, x + layer.period, row)) << x << ", " << row;
        }
        // What lies behind must show through somewhere, and the ground must be there too.
        int keyedAtTop = 0, groundAtBottom = 0;
        for (int x = 0; x < layer.period; ++x) {
            keyedAtTop += At(*s, x, 0) == layer.key;
            groundAtBottom += At(*s, x, s->height - 1) != layer.key;
        }
        EXPECT_GT(keyedAtTop, layer.period / 2) << "the top row hides what is behind";
        EXPECT_EQ(groundAtBottom, layer.period) << "gaps in the bottom row";
    }
}

TEST_F(ArchivePictures, EachMenuHalfLightsItsOwnEntry)
{
    auto menu = Load("menu.bmp");
    ASSERT_EQ(menu->height % 2, 0) << "the title shows exactly half the picture for each choice";
    int half = menu->height / 2, quarter = half / 2;
    // Drawn at (20, 40) from the bottom, a half must stay inside the 320x240 view.
    EXPECT_LE(20 + menu->width, 320);
    EXPECT_LE(40 + half, 240);
    // Memory rows count upward: the lower half in memory is shown for the one-minute game, the
    // first entry, which stands above the second.
    auto brightness = [&](int firstRow, int rows) {
        long sum = 0;
        for (int y = firstRow; y < firstRow + rows; ++y) {
            for (int x = 0; x < menu->width; ++x) {
                uint32_t c = menu->pixels[static_cast<size_t>(y) * menu->width + x];
                sum += (c >> 16 & 0xFF) + (c >> 8 & 0xFF) + (c & 0xFF);
            }
        }
        return sum;
    };
    EXPECT_GT(brightness(quarter, quarter), brightness(0, quarter))
        << "the one-minute picture must light the first entry";
    EXPECT_GT(brightness(half, quarter), brightness(half + quarter, quarter))
        << "the five-minute picture must light the second entry";
}

}  // namespace
