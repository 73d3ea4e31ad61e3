// The ending driven frame by frame through the whole program on the scripted platform: the
// ranking's text, the staff roll over the snapshots, "Fin." and the way back.

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "app/BoardLine.h"
#include "app/Globals.h"
#include "app/SaveRecord.h"
#include "scenes/EndingScene.h"
#include "scenes/TitleScene.h"
#include "sound/SoundSystem.h"
#include "tests/gfx/GfxTestKit.h"
#include "tests/support/GameHarness.h"

namespace {

using testfiles::Fill;
using testfiles::OnScreen;
using testfiles::Pixel;

// Text colours as COLORREF (0x00BBGGRR).
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;

EndingScene* Ending()
{
    return dynamic_cast<EndingScene*>(currentScene);
}

// Boots into the ending of a run that scored runScore, with the kept one-minute scores given
// best last and every snapshot filled with snapshotColour.
bool BootEnding(GameHarness& game, int32_t runScore, const std::vector<int32_t>& kept = {},
                uint32_t snapshotColour = 0)
{
    if (!game.Boot([runScore] {
            auto* ending = new EndingScene;
            ending->runScore = runScore;
            return ending;
        }))
        return false;
    std::copy(kept.begin(), kept.end(), saveRecord.tables[0].scores + 1);
    for (Surface* snapshot : snapshots)
        Fill(*snapshot, snapshotColour);
    return true;
}

// Runs frames until the ending is at least ageMs old, or has gone.
void RunUntilAge(GameHarness& game, uint32_t ageMs, uint32_t step = 17)
{
    while (Ending() && timeGetTime() - Ending()->startTime < ageMs)
        game.RunFrames(1, step);
}

}  // namespace

TEST(EndingScene, TheRankingShowsTheBoardsNewsOfASentRunOverItsPicture)
{
    BoardNews news;
    FollowBoardWith([&news] { return news; });
    GameHarness game;
    ASSERT_TRUE(BootEnding(game, 300, {0, 0, 0, 0, 0, 0, 0, 0, 0, 300}, 0x203040));
    RunUntilAge(game, 4000);
    ASSERT_EQ(Ending()->state, EndingScene::kRanking);
    const auto lineOver = [&] {
        game.RunFrames(1);
        return game.DrawnOver(0, 480);
    };

    NoteLatestRunSent(true);
    news = {BoardNews::Stage::Sending};
    const auto sending = lineOver();
    EXPECT_FALSE(sending.empty());
    for (uint32_t at : sending)
        EXPECT_TRUE((at >> 16) >= 420 && (at >> 16) < 460) << "below the run's score";
    news = {BoardNews::Stage::Placed, 12, 230};
    const auto placed = lineOver();
    EXPECT_FALSE(placed.empty());
    EXPECT_NE(placed, sending);
    news = {BoardNews::Stage::Waiting};
    const auto waiting = lineOver();
    EXPECT_FALSE(waiting.empty());
    EXPECT_NE(waiting, placed);

    // A refused run has no news; a run that was not sent has none either, whatever came of
    // an earlier one; and without a board there is nothing to follow.
    news = {};
    EXPECT_TRUE(lineOver().empty());
    news = {BoardNews::Stage::Placed, 1, 1};
    NoteLatestRunSent(false);
    EXPECT_TRUE(lineOver().empty());
    NoteLatestRunSent(true);
    FollowBoardWith(nullptr);
    EXPECT_TRUE(lineOver().empty());
    NoteLatestRunSent(false);
}

TEST(EndingScene, TheBoardsLineSaysWhereTheRunIs)
{
    using Stage = BoardNews::Stage;
    const struct {
        BoardNews news;
        const char* line;
    } cases[] = {
        {{Stage::None}, ""},
        {{Stage::Sending}, "SENDING..."},
        {{Stage::Placed, 12, 230}, "WORLD #12 OF 230"},
        {{Stage::Placed, 3, 0}, "WORLD #3"},
        {{Stage::Waiting}, "OFFLINE: WILL SEND LATER"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BoardLineText(c.news), c.line);
}

TEST(EndingScene, TheRankingShowsEveryKeptScoreEqualToTheRunsInRed)
{
    struct Case {
        int32_t runScore;
        std::vector<int32_t> kept;  // ascending: the ranking shows them from the last
        int firstRed, lastRed;
        const char* own;
    };
    const Case cases[] = {
        {300,
         {0, 0, 120, 300, 300, 300, 450, 800, 1200, 5000},
         5,
         7,
         "This time SCORE is 0000000300"},
        {77,
         {0, 100, 200, 300, 400, 500, 600, 700, 800, 900},
         0,
         -1,
         "This time SCORE is 0000000077"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.runScore);
        GameHarness game;
        ASSERT_TRUE(BootEnding(game, c.runScore, c.kept, 0x00F0F0F0));
        RunUntilAge(game, 3100);
        ASSERT_EQ(Ending()->state, EndingScene::kRanking);
        game.RunFrames(20);

        EXPECT_TRUE(game.TextAt(112, 10, "SCORE RANKING"));
        for (int rank = 1; rank <= 10; rank++) {
            bool red = rank >= c.firstRed && rank <= c.lastRed;
            char line[16];
            std::snprintf(line, sizeof line, "%2d : %010d", rank, c.kept[10 - rank]);
            EXPECT_TRUE(game.TextAt(100, 26 + 16 * rank, line, red ? kRed : kWhite)) << line;
        }
        EXPECT_TRUE(game.TextAt(44, 202, c.own, kRed));
        // On a panel of the first snapshot darkened: blended half and half, then halved, so it
        // settles at a third of the snapshot's brightness.
        EXPECT_NEAR(static_cast<int>(Pixel(game.Canvas(), 5, 5) & 0xFF), 0xF0, 1);
        EXPECT_NEAR(static_cast<int>(Pixel(game.Canvas(), 20, 120) & 0xFF), 0xF0 / 3, 2);
    }
}

TEST(EndingScene, SpaceIsIgnoredUntilTheRollWhichScrollsAtAbout32PixelsASecondToFinOnBlack)
{
    GameHarness game;
    ASSERT_TRUE(BootEnding(game, 0));
    // Device row r (from the top) of the roll holds r in its blue and green bytes, each byte
    // even, so that the 50/50 blend over a black snapshot halves it exactly.
    Surface& roll = *Ending()->staffRollImage;
    for (int y = 0; y < roll.height; y++) {
        uint32_t r = roll.height - 1 - y;
        std::fill_n(roll.pixels + y * roll.width, roll.width, (r >> 7) << 9 | (r & 0x7F) << 1);
    }
    // The roll row on top of the screen, or -1 when the screen is not one window of the roll.
    auto rowOnTop = [&] {
        const Surface& canvas = game.Canvas();
        auto rowAt = [&](int x, int r) {
            uint32_t p = Pixel(canvas, x, 239 - r);
            return static_cast<int>((p >> 8) << 7 | (p & 0xFF));
        };
        for (int r = 0; r < 240; r++)
            for (int x = 0; x < 320; x++)
                if (rowAt(x, r) != rowAt(0, 0) + r)
                    return -1;
        return rowAt(0, 0);
    };
    // Space is ignored during the sweep and the ranking; the roll starts at 20 s.
    for (uint32_t age : {10000, 19900}) {
        scripted::PressKey(VK_SPACE);
        RunUntilAge(game, age, 100);
    }
    ASSERT_NE(Ending(), nullptr);
    EXPECT_EQ(Ending()->state, EndingScene::kRanking);
    EXPECT_TRUE(scripted::IsClipPlaying(kSoundEndingMusic));
    RunUntilAge(game, 20001, 100);
    ASSERT_EQ(Ending()->state, EndingScene::kStaffRoll);
    game.RunFrames(2);
    int first = rowOnTop();
    ASSERT_GE(first, 0);

    // Ten seconds at the usual frame rate: a pixel every second frame of 17 ms, never more
    // than 0.032 pixels a millisecond.
    game.RunFrames(588);
    EXPECT_LE(rowOnTop() - first, 320);
    EXPECT_GE(rowOnTop() - first, 280);
    // At ten frames a second it moves 3 whole pixels a frame, the fifth of a pixel dropped.
    first = rowOnTop();
    game.RunFrames(20, 100);
    EXPECT_EQ(rowOnTop() - first, 60);

    // The last screen of the roll shows before the closing screen.
    int last = 0;
    for (; Ending()->state == EndingScene::kStaffRoll; game.RunFrames(1, 100)) {
        ASSERT_GE(rowOnTop(), last);
        last = rowOnTop();
    }
    EXPECT_GE(last, roll.height - 240 - 3);
    EXPECT_LE(last, roll.height - 240);

    // "Fin." alone on black, however long it takes for a press.
    game.RunFrames(10, 60000);
    ASSERT_NE(Ending(), nullptr);
    EXPECT_TRUE(game.TextAt(280, 220, "Fin."));
    int litElsewhere = 0;
    for (int row = 0; row < 240; row++)
        for (int x = 0; x < 320; x++)
            litElsewhere += (row < 220 || x < 280) && OnScreen(game.Canvas(), x, row) & 0xFFFFFF;
    EXPECT_EQ(litElsewhere, 0);
    scripted::PressKey(VK_SPACE);
    game.RunFrames(2);
    EXPECT_NE(dynamic_cast<TitleScene*>(currentScene), nullptr);
    EXPECT_FALSE(scripted::IsClipPlaying(kSoundEndingMusic));
}
