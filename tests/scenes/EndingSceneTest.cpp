// The ending driven frame by frame through the whole program on the scripted platform: the
// sweep, the ranking's text, the staff roll over the snapshots, "Fin." and the way back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "app/Globals.h"
#include "app/SaveRecord.h"
#include "gfx/Surface.h"
#include "platform/scripted/Scripted.h"
#include "scenes/EndingScene.h"
#include "scenes/TitleScene.h"
#include "sound/SoundSystem.h"
#include "tests/support/GameHarness.h"

namespace {

constexpr uint32_t kGamePicture = 0x00123456;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;
// The same colours as pixel words (0x00RRGGBB).
constexpr uint32_t kWhitePixel = 0x00FFFFFF;
constexpr uint32_t kRedPixel = 0x00FF0000;

EndingScene* Ending()
{
    return dynamic_cast<EndingScene*>(currentScene);
}

uint32_t Pixel(const Surface& surface, int x, int y)
{
    return surface.pixels[y * surface.width + x];
}

void Fill(Surface& surface, uint32_t colour)
{
    std::fill_n(surface.pixels, surface.width * surface.height, colour);
}

// Boots into the ending of a run that scored runScore, over a known last game picture, with
// the kept one-minute scores given best last and every snapshot filled with snapshotColour.
bool BootEnding(GameHarness& game, int32_t runScore, std::initializer_list<int32_t> kept = {},
                uint32_t snapshotColour = 0)
{
    if (!game.Boot([runScore] {
            auto* ending = new EndingScene;
            ending->runScore = runScore;
            return ending;
        }))
        return false;
    Fill(game.Canvas(), kGamePicture);
    std::copy(kept.begin(), kept.end(), saveRecord.tables[0].scores + 1);
    for (Surface* snapshot : snapshots) Fill(*snapshot, snapshotColour);
    return true;
}

void Press(GameHarness& game, int vk)
{
    scripted::PressKey(vk);
    game.RunFrames(1, 0);
}

// Runs frames until the ending is at least ageMs old, or has gone.
void RunUntilAge(GameHarness& game, uint32_t ageMs, uint32_t step = 17)
{
    while (Ending() && timeGetTime() - Ending()->startTime < ageMs) game.RunFrames(1, step);
}

// Text as the player should see it, drawn alone into a picture of its own.
class ExpectedText {
public:
    ExpectedText() : picture(scripted::TheWindow(), 320, 240)
    {
        Fill(picture, 0);
        SetBkMode(picture.dc, TRANSPARENT);
    }
    void Add(int x, int y, const char* text, COLORREF colour)
    {
        SetTextColor(picture.dc, colour);
        TextOutA(picture.dc, x, y, text, static_cast<int>(std::strlen(text)));
    }
    // Inside the rectangle (pixel coordinates), the canvas shows pure text colours exactly
    // where the expected text has ink, in the same colour, and nowhere else.
    bool Matches(const Surface& canvas, const RECT& area) const
    {
        for (int y = area.top; y < area.bottom; y++) {
            for (int x = area.left; x < area.right; x++) {
                uint32_t want = Pixel(picture, x, y) & 0xFFFFFF;
                uint32_t got = Pixel(canvas, x, y) & 0xFFFFFF;
                bool textColour = got == kWhitePixel || got == kRedPixel;
                if (want != 0 ? got != want : textColour) return false;
            }
        }
        return true;
    }

private:
    Surface picture;
};

// The darkened panel the ranking is written on.
constexpr RECT kPanel = {10, 10, 310, 230};

// The roll replaced by rows that name themselves: device row r (from the top) holds r in its
// blue and green bytes, each byte even so that the 50/50 blend over a black snapshot halves
// it exactly.
void MarkRollRows(Surface& roll)
{
    for (int y = 0; y < roll.height; y++) {
        int r = roll.height - 1 - y;
        uint32_t code = (static_cast<uint32_t>(r >> 7) << 9) | ((r & 0x7F) << 1);
        std::fill_n(roll.pixels + y * roll.width, roll.width, code);
    }
}

// The roll row shown at the top of the screen, or -1 when the screen is not one window of
// the marked roll.
int RollRowOnTop(const Surface& canvas)
{
    auto rowAt = [&](int deviceRow) {
        uint32_t p = Pixel(canvas, 0, 239 - deviceRow);
        return static_cast<int>(((p >> 8) & 0xFF) << 7 | (p & 0xFF));
    };
    int top = rowAt(0);
    for (int r = 0; r < 240; r++)
        for (int x = 0; x < 320; x++)
            if (Pixel(canvas, x, 239 - r) != Pixel(canvas, 0, 239 - r) || rowAt(r) != top + r)
                return -1;
    return top;
}

}  // namespace

TEST(EndingScene, TheRollsFirstScreenSweepsInOverTheLastGamePicture)
{
    GameHarness game;
    ASSERT_TRUE(BootEnding(game, 0));
    game.RunFrames(12);  // 204 ms
    const Surface& canvas = game.Canvas();
    const Surface& roll = *Ending()->staffRollImage;
    bool leftUntouched = true;
    bool revealedAsRoll = true;
    int revealed = 0;
    for (int y = 0; y < 240; y++) {
        for (int x = 0; x < 320; x++) {
            uint32_t p = Pixel(canvas, x, y);
            if (p == kGamePicture) continue;
            revealed++;
            leftUntouched &= x >= 320 - 204 / 4 - 50;
            revealedAsRoll &= p == Pixel(roll, x, y);
        }
    }
    EXPECT_TRUE(leftUntouched);
    EXPECT_TRUE(revealedAsRoll);
    EXPECT_GT(revealed, 240 * 5);

    // From about 1880 ms every row is covered: the screen is the roll's bottom screen.
    RunUntilAge(game, 1950);
    EXPECT_TRUE(std::equal(canvas.pixels, canvas.pixels + 320 * 240, roll.pixels));
    EXPECT_EQ(Ending()->state, EndingScene::kWipeIn);
    RunUntilAge(game, 3000);
    EXPECT_EQ(Ending()->state, EndingScene::kRanking);
}

TEST(EndingScene, RankingShowsEveryKeptScoreEqualToTheRunsInRed)
{
    GameHarness game;
    ASSERT_TRUE(BootEnding(game, 300, {0, 0, 120, 300, 300, 300, 450, 800, 1200, 5000}));
    RunUntilAge(game, 3100);
    ASSERT_EQ(Ending()->state, EndingScene::kRanking);

    ExpectedText text;
    text.Add(112, 10, "SCORE RANKING", kWhite);
    const char* lines[10] = {" 1 : 0000005000", " 2 : 0000001200", " 3 : 0000000800",
                             " 4 : 0000000450", " 5 : 0000000300", " 6 : 0000000300",
                             " 7 : 0000000300", " 8 : 0000000120", " 9 : 0000000000",
                             "10 : 0000000000"};
    for (int i = 0; i < 10; i++)
        text.Add(100, 42 + 16 * i, lines[i], i >= 4 && i <= 6 ? kRed : kWhite);
    text.Add(44, 202, "This time SCORE is 0000000300", kRed);
    EXPECT_TRUE(text.Matches(game.Canvas(), kPanel));

    // The panel is the first snapshot darkened: blended half and half, then halved, so it
    // settles at a third of the snapshot's brightness.
    for (Surface* snapshot : snapshots) Fill(*snapshot, 0x00F0F0F0);
    game.RunFrames(20);
    EXPECT_NEAR(static_cast<int>(Pixel(game.Canvas(), 5, 5) & 0xFF), 0xF0, 1);  // outside
    uint32_t panel = Pixel(game.Canvas(), 20, 120) & 0xFF;
    EXPECT_NEAR(static_cast<int>(panel), 0xF0 / 3, 2);
    EXPECT_TRUE(text.Matches(game.Canvas(), kPanel));
}

TEST(EndingScene, ARunOutsideTheRankingHasOnlyItsOwnLineInRed)
{
    GameHarness game;
    ASSERT_TRUE(BootEnding(game, 77, {0, 100, 200, 300, 400, 500, 600, 700, 800, 900}));
    RunUntilAge(game, 3100);

    ExpectedText text;
    text.Add(112, 10, "SCORE RANKING", kWhite);
    const char* lines[10] = {" 1 : 0000000900", " 2 : 0000000800", " 3 : 0000000700",
                             " 4 : 0000000600", " 5 : 0000000500", " 6 : 0000000400",
                             " 7 : 0000000300", " 8 : 0000000200", " 9 : 0000000100",
                             "10 : 0000000000"};
    for (int i = 0; i < 10; i++) text.Add(100, 42 + 16 * i, lines[i], kWhite);
    text.Add(44, 202, "This time SCORE is 0000000077", kRed);
    EXPECT_TRUE(text.Matches(game.Canvas(), kPanel));
}

TEST(EndingScene, SpaceIsIgnoredUntilTheRollAndThenReturnsToTheTitle)
{
    GameHarness game;
    ASSERT_TRUE(BootEnding(game, 0));
    game.RunFrames(2);
    ASSERT_TRUE(scripted::IsClipPlaying(kSoundEndingMusic));
    Press(game, VK_SPACE);  // during the sweep
    RunUntilAge(game, 10000, 100);
    Press(game, VK_SPACE);  // during the ranking
    RunUntilAge(game, 19900, 100);
    ASSERT_NE(Ending(), nullptr);
    EXPECT_EQ(Ending()->state, EndingScene::kRanking);
    EXPECT_TRUE(scripted::IsClipPlaying(kSoundEndingMusic));

    RunUntilAge(game, 21000, 100);
    ASSERT_EQ(Ending()->state, EndingScene::kStaffRoll);
    scripted::ClearSoundEvents();
    Press(game, VK_SPACE);
    game.RunFrames(1);
    EXPECT_NE(dynamic_cast<TitleScene*>(currentScene), nullptr);
    EXPECT_FALSE(scripted::IsClipPlaying(kSoundEndingMusic));
    const auto& events = scripted::SoundEvents();
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [](const scripted::SoundEvent& e) {
        return e.clip == kSoundEndingMusic && e.kind == scripted::SoundEvent::Stop;
    }));
}

TEST(EndingScene, TheRollScrollsFromItsTopAtAbout32PixelsASecondToFinOnBlack)
{
    GameHarness game;
    ASSERT_TRUE(BootEnding(game, 0));
    Surface& roll = *Ending()->staffRollImage;
    MarkRollRows(roll);
    RunUntilAge(game, 20001, 100);
    ASSERT_EQ(Ending()->state, EndingScene::kStaffRoll);
    game.RunFrames(2);
    int first = RollRowOnTop(game.Canvas());
    ASSERT_GE(first, 0);

    // Ten seconds at the usual frame rate: a pixel every second frame of 17 ms, never more
    // than 0.032 pixels a millisecond.
    game.RunFrames(588);  // 9996 ms
    int moved = RollRowOnTop(game.Canvas()) - first;
    EXPECT_LE(moved, 320);
    EXPECT_GE(moved, 280);
    // At ten frames a second it moves 3 whole pixels a frame, the fifth of a pixel dropped.
    first = RollRowOnTop(game.Canvas());
    game.RunFrames(20, 100);
    EXPECT_EQ(RollRowOnTop(game.Canvas()) - first, 60);

    // On to the end: the last screen of the roll shows before the closing screen.
    int last = 0;
    while (Ending()->state == EndingScene::kStaffRoll) {
        game.RunFrames(1, 100);
        int top = RollRowOnTop(game.Canvas());
        if (Ending()->state == EndingScene::kStaffRoll) {
            ASSERT_GE(top, last);
            last = top;
        }
    }
    EXPECT_GE(last, roll.height - 240 - 3);
    EXPECT_LE(last, roll.height - 240);

    game.RunFrames(1);
    ExpectedText fin;
    fin.Add(280, 220, "Fin.", kWhite);
    auto onlyFin = [&] {
        RECT screen = {0, 0, 320, 240};
        if (!fin.Matches(game.Canvas(), screen)) return false;
        for (int i = 0; i < 320 * 240; i++) {
            uint32_t p = game.Canvas().pixels[i] & 0xFFFFFF;
            if (p != 0 && p != kWhitePixel) return false;
        }
        return true;
    };
    EXPECT_TRUE(onlyFin());

    // However long it takes, the closing screen waits for a press.
    game.RunFrames(10, 60000);
    ASSERT_NE(Ending(), nullptr);
    EXPECT_TRUE(onlyFin());
    Press(game, VK_SPACE);
    game.RunFrames(1);
    EXPECT_NE(dynamic_cast<TitleScene*>(currentScene), nullptr);
}

TEST(EndingScene, TheRollsBackgroundCyclesThroughTheSnapshotsEvery8192Ms)
{
    GameHarness game;
    ASSERT_TRUE(BootEnding(game, 0));
    Fill(*Ending()->staffRollImage, 0);
    ASSERT_GT(Ending()->staffRollImage->height, 400);  // the roll lasts beyond 25 s
    for (int k = 0; k < kSnapshotCount; k++) Fill(*snapshots[k], 0x00141414u * (k + 1));
    auto shownSnapshot = [&] {
        return static_cast<int>((Pixel(game.Canvas(), 160, 120) & 0xFF) / 10) - 1;
    };
    RunUntilAge(game, 20500, 100);
    game.RunFrames(1, 100);
    EXPECT_EQ(shownSnapshot(), 2);
    RunUntilAge(game, 24700, 100);
    EXPECT_EQ(shownSnapshot(), 3);
}
