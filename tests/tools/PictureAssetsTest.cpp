// The pictures as the game finds them in the built archive, loaded through the game's own
// loader: the sizes and frame layouts the scenes and objects rely on, colour keys that leave
// nothing behind around a sprite and punch no holes into it, landscape layers that wrap without
// a seam, and a build that gives the same bytes every time.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "archive/ResourceArchive.h"
#include "gfx/Surface.h"
#include "tools/pictures/PictureSet.h"

namespace {

// The fourth byte is not part of the colour.
uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFF; }

// Keys in the game's layout 0x00BBGGRR, as a pixel word reads them (0x00RRGGBB): pure blue is
// the word 0x0000FF, pure red the word 0xFF0000.
constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kGreen = 0x00FF00;
constexpr uint32_t kBlueWord = 0x0000FF, kRedWord = 0xFF0000;

struct Sheet {
    const char* name;
    int frames;
    uint32_t key;
    int smallest, largest;  // the side of one frame, each way
};

// The sprite sheets, with the sizes the objects are designed around.
const Sheet kSheets[] = {
    {"velani.bmp", 4, kBlack, 16, 32},  {"shot.bmp", 1, kBlack, 4, 24},
    {"laser.bmp", 1, kBlack, 4, 64},    {"bbolo.bmp", 1, kBlueWord, 16, 32},
    {"bbolo2.bmp", 1, kBlueWord, 16, 32}, {"tarune.bmp", 1, kBlueWord, 16, 32},
    {"morisel.bmp", 1, kBlack, 24, 32}, {"kanel.bmp", 1, kBlack, 24, 32},
    {"bolo.bmp", 1, kRedWord, 16, 32},  {"tama.bmp", 4, kBlack, 6, 10},
    {"bom.bmp", 4, kBlack, 12, 20},     {"nazo.bmp", 1, kWhite, 10, 14},
    {"onpu.bmp", 1, kWhite, 12, 20},    {"beam.bmp", 1, kBlack, 9, 32},
    {"bazooka.bmp", 1, kBlack, 9, 32},  {"exp.bmp", 4, kBlack, 32, 32},
    {"exp2.bmp", 5, kBlack, 48, 48},    {"kasuri.bmp", 4, kBlack, 12, 20},
    {"text.bmp", 10, kBlack, 8, 16},    {"bombertext.bmp", 1, kBlack, 20, 300},
    {"menu.bmp", 1, kBlack, 40, 400},
};

class ArchivePictures : public ::testing::Test {
protected:
    std::unique_ptr<Surface> Load(const char* name)
    {
        auto surface = std::make_unique<Surface>(nullptr, archive, name);
        EXPECT_STREQ(surface->loadError(), "") << name;
        return surface;
    }

    // Device coordinates of a picture: row 0 is its top.
    static uint32_t At(const Surface& s, int x, int rowFromTop)
    {
        return Rgb(s.pixels[static_cast<size_t>(s.height - 1 - rowFromTop) * s.width + x]);
    }

    ResourceArchive archive{KORIMO_RUN_DIR "/korimo"};
};

TEST_F(ArchivePictures, WholeScreensHaveTheSizeOfTheView)
{
    ASSERT_EQ(archive.error(), "");
    for (const char* name : {"black.bmp", "logo.bmp", "opening.bmp", "gameover.bmp",
                             "tomu_sora.bmp", "bomber.bmp"}) {
        auto s = Load(name);
        EXPECT_EQ(s->width, 320) << name;
        EXPECT_EQ(s->height, 240) << name;
    }
    auto black = Load("black.bmp");
    for (int i = 0; i < black->width * black->height; ++i)
        ASSERT_EQ(Rgb(black->pixels[i]), kBlack) << "the fades need pure black, pixel " << i;

    // The ending reads 320 columns and scrolls through more than one screen of rows.
    auto roll = Load("staffroll.bmp");
    EXPECT_EQ(roll->width, 320);
    EXPECT_GE(roll->height, 1000);
    EXPECT_LE(roll->height, 1400);

    // The gauge shows one column per point, up to 96, eight rows high.
    auto bar = Load("bar.bmp");
    EXPECT_GE(bar->width, 96);
    EXPECT_GE(bar->height, 8);
}

TEST_F(ArchivePictures, SpriteSheetsHoldTheirFramesSideBySide)
{
    ASSERT_EQ(archive.error(), "");
    for (const Sheet& sheet : kSheets) {
        auto s = Load(sheet.name);
        ASSERT_EQ(s->width % sheet.frames, 0) << sheet.name;
        int frameWidth = s->width / sheet.frames;
        EXPECT_GE(frameWidth, sheet.smallest) << sheet.name;
        EXPECT_LE(frameWidth, sheet.largest) << sheet.name;
        EXPECT_GE(s->height, std::min(sheet.smallest, 9)) << sheet.name;
        EXPECT_LE(s->height, sheet.largest) << sheet.name;
    }
    auto heroine = Load("velani.bmp");
    EXPECT_EQ(heroine->width / 4, 32);
    EXPECT_EQ(heroine->height, 16);
    auto digits = Load("text.bmp");
    EXPECT_EQ(digits->width, 80);
    EXPECT_EQ(digits->height, 16);
    EXPECT_LT(Load("shot.bmp")->width, Load("laser.bmp")->width);
    EXPECT_LE(Load("bombertext.bmp")->height, 60);
}

TEST_F(ArchivePictures, KeysSurroundEverySpriteAndNeverPunchHoles)
{
    ASSERT_EQ(archive.error(), "");
    for (const Sheet& sheet : kSheets) {
        auto s = Load(sheet.name);
        int frameWidth = s->width / sheet.frames;
        for (int frame = 0; frame < sheet.frames; ++frame) {
            int left = frame * frameWidth, right = left + frameWidth - 1;
            for (int row : {0, s->height - 1})
                for (int x : {left, right})
                    EXPECT_EQ(At(*s, x, row), sheet.key)
                        << sheet.name << " frame " << frame << ": a corner is not the key";
            int drawn = 0;
            for (int row = 0; row < s->height; ++row)
                for (int x = left; x <= right; ++x) {
                    if (At(*s, x, row) != sheet.key) {
                        ++drawn;
                        continue;
                    }
                    // A key pixel walled in on all four sides is a hole in the sprite.
                    bool walled = x > left && x < right && row > 0 && row < s->height - 1 &&
                                  At(*s, x - 1, row) != sheet.key && At(*s, x + 1, row) != sheet.key &&
                                  At(*s, x, row - 1) != sheet.key && At(*s, x, row + 1) != sheet.key;
                    EXPECT_FALSE(walled) << sheet.name << " frame " << frame << ": key pixel at ("
                                         << x - left << ", " << row << ") from the top left";
                }
            EXPECT_GT(drawn, 0) << sheet.name << " frame " << frame << " is empty";
        }
    }
}

TEST_F(ArchivePictures, LandscapeLayersRepeatWithoutASeam)
{
    ASSERT_EQ(archive.error(), "");
    struct Layer {
        const char* name;
        int period, width, height;
        uint32_t key;
    };
    // The background moves 1216 columns before it starts over, the tree band 640; each is read
    // 320 columns past that point, and the tree band's bottom 90 rows are shown.
    for (Layer layer : {Layer{"tomu_bg.bmp", 1216, 1536, 240, kGreen},
                        Layer{"tomu_ki.bmp", 640, 960, 90, kWhite}}) {
        auto s = Load(layer.name);
        ASSERT_GE(s->width, layer.width) << layer.name;
        ASSERT_GE(s->height, layer.height) << layer.name;
        for (int row = 0; row < s->height; ++row)
            for (int x = 0; x < 320; ++x)
                ASSERT_EQ(At(*s, x, row), At(*s, x + layer.period, row))
                    << layer.name << ": column " << x << " differs from column "
                    << x + layer.period << " at row " << row << " from the top";
        // What lies behind must show through somewhere, and the ground must be there too.
        int keyed = 0;
        for (int x = 0; x < layer.period; ++x) keyed += At(*s, x, 0) == layer.key;
        EXPECT_GT(keyed, layer.period / 2) << layer.name << ": the top row hides what is behind";
        int ground = 0;
        for (int x = 0; x < layer.period; ++x) ground += At(*s, x, s->height - 1) != layer.key;
        EXPECT_EQ(ground, layer.period) << layer.name << ": gaps in the bottom row";
    }
}

TEST_F(ArchivePictures, MenuHalvesAreOneStateEachOfTheSameSize)
{
    ASSERT_EQ(archive.error(), "");
    auto menu = Load("menu.bmp");
    EXPECT_LE(menu->width, 300);
    ASSERT_EQ(menu->height % 2, 0) << "the title shows exactly half the picture for each choice";
    int half = menu->height / 2;
    EXPECT_LE(half, 200);
    // Drawn at (20, 40) from the bottom, a half must stay inside the 320x240 view.
    EXPECT_LE(20 + menu->width, 320);
    EXPECT_LE(40 + half, 240);
    int differing = 0, drawnLower = 0, drawnUpper = 0;
    for (int i = 0; i < half * menu->width; ++i) {
        uint32_t lower = Rgb(menu->pixels[i]), upper = Rgb(menu->pixels[i + half * menu->width]);
        differing += lower != upper;
        drawnLower += lower != kBlack;
        drawnUpper += upper != kBlack;
    }
    EXPECT_GT(drawnLower, 0);
    EXPECT_GT(drawnUpper, 0);
    EXPECT_GT(differing, 0) << "both choices would look the same";

    // The entries stand one above the other; the chosen one is lit. Memory rows 0..half-1 (the
    // lower half as viewed) are shown for the one-minute game, the first entry.
    auto brightness = [&](int firstRow, int rows) {
        long sum = 0;
        for (int y = firstRow; y < firstRow + rows; ++y)
            for (int x = 0; x < menu->width; ++x) {
                uint32_t c = Rgb(menu->pixels[static_cast<size_t>(y) * menu->width + x]);
                sum += (c >> 16) + (c >> 8 & 0xFF) + (c & 0xFF);
            }
        return sum;
    };
    int quarter = half / 2;  // memory rows count upward: a half's upper entry is its upper rows
    EXPECT_GT(brightness(quarter, quarter), brightness(0, quarter))
        << "the one-minute picture must light the first entry";
    EXPECT_GT(brightness(half, quarter), brightness(half + quarter, quarter))
        << "the five-minute picture must light the second entry";
}

TEST(PictureBuilder, BuildsTheSameBytesAsTheArchiveHolds)
{
    std::vector<BuiltPicture> first, second;
    std::string error;
    ASSERT_TRUE(BuildPictures(KORIMO_SOURCE_DIR "/assets/pictures", first, error)) << error;
    ASSERT_TRUE(BuildPictures(KORIMO_SOURCE_DIR "/assets/pictures", second, error)) << error;
    ASSERT_EQ(first.size(), second.size());
    ResourceArchive archive(KORIMO_RUN_DIR "/korimo");
    ASSERT_EQ(archive.error(), "");
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].bmp, second[i].bmp) << first[i].name << " differs between two builds";
        ASSERT_EQ(archive.Open(first[i].name.c_str()), 1) << first[i].name;
        std::vector<unsigned char> packed(archive.cursor, archive.cursor + archive.entrySize);
        EXPECT_EQ(packed, first[i].bmp) << first[i].name << " in the archive is out of date";
    }
}

}  // namespace
