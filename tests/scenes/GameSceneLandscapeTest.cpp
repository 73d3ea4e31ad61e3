#include <climits>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/SaveRecord.h"
#include "archive/ResourceArchive.h"
#include "gfx/PictureLoader.h"
#include "tests/gfx/GfxTestKit.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

using testfiles::Pixel;

// Whether `digits` stand on the canvas at (x, y) as the digit strip draws them.
bool DigitsAt(kit::GameRun& run, int x, int y, const std::string& digits)
{
    std::string error;
    std::unique_ptr<Surface> strip(
        LoadPicture(run.harness.App().window, resourceArchive, "text.bmp", error));
    int inked = 0;
    for (size_t i = 0; i < digits.size(); i++) {
        for (int gy = 0; gy < 16; gy++) {
            for (int gx = 0; gx < 8; gx++) {
                uint32_t ink = Pixel(*strip, 8 * (digits[i] - '0') + gx, gy);
                if (ink == 0)
                    continue;
                inked++;
                if (Pixel(run.harness.Canvas(), x + 8 * int(i) + gx, y + gy) != ink)
                    return false;
            }
        }
    }
    return inked > 0;
}

TEST(GameSceneLandscape, TheNumbersAndTheTimerKeepAwayFromTheHeroine)
{
    kit::GameRun run;
    // A damaged save file can hold a negative best score; there is no minus sign to draw.
    struct Case {
        int heroineY, digitsY, timerRow, score, best;
        const char *scoreDigits, *bestDigits;
    };
    for (Case c : {Case{159, 220, 25, 1234, 98765, "0000001234", "0000098765"},
                   Case{160, 5, 200, INT_MAX, -1234, "2147483647", "0000000000"}}) {
        SCOPED_TRACE(c.heroineY);
        run.scene->score = c.score;
        saveRecord.tables[0].scores[10] = c.best;
        run.scene->player->MoveTo(20, c.heroineY);
        ASSERT_TRUE(run.QuietFrames(1, 2000));
        EXPECT_TRUE(DigitsAt(run, 238, c.digitsY, c.scoreDigits));
        EXPECT_TRUE(DigitsAt(run, 138, c.digitsY, c.bestDigits));
        uint32_t elapsed = timeGetTime() - run.scene->startTime;
        char timer[16];
        std::snprintf(timer, sizeof timer, "00:%02u Sec.", elapsed / 1000);
        EXPECT_TRUE(run.harness.TextAt(240, c.timerRow, timer)) << timer;
    }
}

TEST(GameSceneLandscape, AnUntimedGameNeverEndsShowsNoBestScoreAndTakesNoSnapshot)
{
    kit::GameRun run;
    saveRecord.gameMode = 2;
    saveRecord.tables[0].Insert(98765);
    run.scene->score = 100;
    ASSERT_TRUE(run.QuietFrames(1, 65000));
    EXPECT_TRUE(run.harness.TextAt(240, 25, "01:05 Sec."));
    EXPECT_TRUE(DigitsAt(run, 238, 220, "0000000100"));
    EXPECT_FALSE(DigitsAt(run, 138, 220, "0000098765"));
    ASSERT_TRUE(run.QuietFrames(1, 4000000));
    EXPECT_EQ(snapshotCount, 0);
    EXPECT_EQ(saveRecord.tables[0].scores[9], 0) << "the 100 is never recorded";
    EXPECT_EQ(saveRecord.tables[1].Best(), 0);
}

TEST(GameSceneLandscape, LayersScrollAndStartOverFromWhereTheyAreEvenAfterAStall)
{
    kit::GameRun run;
    GameScene& scene = *run.scene;
    // Background column c in colour 0x100000 + c, tree column c in 0x200000 + c.
    for (auto [picture, base] :
         {std::pair{scene.backgroundImage, 0x00100000u}, std::pair{scene.treesImage, 0x00200000u}})
        for (int y = 0; y < picture->height; y++)
            for (int x = 0; x < picture->width; x++)
                picture->pixels[y * picture->width + x] = base + x;
    scene.player->MoveTo(20, 200);  // trees opaque
    const Surface& canvas = run.harness.Canvas();

    // Layer times ago, and the columns wanted at the left edge: 1216 columns take 20 s, 640
    // take 6 s; past a whole period a layer starts over from where it is.
    struct Case {
        uint32_t backgroundAgo, treesAgo;
        int background, trees;
        bool restarted;
    };
    for (Case c : {Case{20000, 6000, 1216, 640, false}, Case{20017, 6017, 1, 1, true},
                   Case{50000, 50000, 3040 % 1216, 5333 % 640, true}}) {
        SCOPED_TRACE(c.backgroundAgo);
        scene.scrollTime = timeGetTime() + 17 - c.backgroundAgo;
        scene.treesScrollTime = timeGetTime() + 17 - c.treesAgo;
        uint32_t since = scene.scrollTime;
        ASSERT_TRUE(run.QuietFrames(1));
        EXPECT_EQ(Pixel(canvas, 0, 150), 0x00100000u + c.background);
        EXPECT_EQ(Pixel(canvas, 319, 150), 0x00100000u + c.background + 319);
        EXPECT_EQ(Pixel(canvas, 0, 50), 0x00200000u + c.trees);
        EXPECT_EQ(scene.scrollTime, c.restarted ? timeGetTime() : since);
    }
}

// Runs quiet frames until `until` ms into the run, noting the elapsed time of each snapshot.
std::vector<uint32_t> SnapshotTimes(kit::GameRun& run, uint32_t until)
{
    std::vector<uint32_t> times;
    while (timeGetTime() - run.scene->startTime < until) {
        int before = snapshotCount;
        EXPECT_TRUE(run.QuietFrames(1));
        if (snapshotCount > before) {
            times.push_back(timeGetTime() - run.scene->startTime);
            // The frame's picture, but for the timer drawn after it.
            for (auto [x, y] : {std::pair{100, 100}, {300, 30}})
                EXPECT_EQ(Pixel(*snapshots[before], x, y), Pixel(run.harness.Canvas(), x, y));
        }
    }
    return times;
}

TEST(GameSceneLandscape, TenSnapshotsAreSharedByTheRunsAfterStartUp)
{
    // Each is taken in the first frame past a multiple of 5 s; frames are 17 ms apart.
    kit::GameRun run;
    EXPECT_EQ(SnapshotTimes(run, 12000), (std::vector<uint32_t>{17, 5015, 10013}));

    // The run ends, and the next one-minute run carries on with the fourth picture.
    run.AddStake(30, 126);
    ASSERT_FALSE(run.QuietFrames(1));
    Scene* gameOver = currentScene;
    auto* next = new GameScene;
    next->Init(&run.harness.App(), &run.harness.Canvas(), &run.harness.App().joystick);
    currentScene = run.scene = next;
    delete gameOver;
    EXPECT_EQ(SnapshotTimes(run, 26000), (std::vector<uint32_t>{15011, 20009, 25007}));
    EXPECT_EQ(snapshotCount, 6);
}

}  // namespace
