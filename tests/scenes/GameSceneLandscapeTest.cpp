#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/SaveRecord.h"
#include "archive/ResourceArchive.h"
#include "scenes/GameOverScene.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

uint32_t At(const Surface& s, int x, int y)
{
    return s.pixels[y * s.width + x];
}

// Whether `digits` stand on the canvas at (x, y) as the digit strip draws them.
bool DigitsAt(kit::GameRun& run, int x, int y, const std::string& digits)
{
    Surface strip(run.harness.App().window, resourceArchive, "text.bmp");
    const Surface& canvas = run.harness.Canvas();
    int inked = 0;
    for (size_t i = 0; i < digits.size(); i++) {
        int d = digits[i] - '0';
        for (int gy = 0; gy < 16; gy++) {
            for (int gx = 0; gx < 8; gx++) {
                uint32_t ink = At(strip, 8 * d + gx, gy);
                if ((ink & 0xFFFFFF) == 0)
                    continue;
                inked++;
                if (At(canvas, x + 8 * int(i) + gx, y + gy) != ink)
                    return false;
            }
        }
    }
    return inked > 0;
}

// Whether the text stands on the canvas at (x, row) in text coordinates, as TextOutA draws
// it in white with our font: every pixel a blank picture gets from it is white on the canvas.
bool TextAt(kit::GameRun& run, int x, int row, const char* text)
{
    Surface& canvas = run.harness.Canvas();
    Surface blank(run.harness.App().window, 320, 240);
    for (int i = 0; i < 320 * 240; i++)
        blank.pixels[i] = 0;
    SelectObject(blank.dc, canvas.font);
    SetTextColor(blank.dc, 0xFFFFFF);
    SetBkMode(blank.dc, TRANSPARENT);
    TextOutA(blank.dc, x, row, text, static_cast<int>(std::string(text).size()));
    int inked = 0;
    for (int i = 0; i < 320 * 240; i++) {
        if ((blank.pixels[i] & 0xFFFFFF) == 0)
            continue;
        inked++;
        if ((canvas.pixels[i] & 0xFFFFFF) != 0xFFFFFF)
            return false;
    }
    return inked > 0;
}

std::string TimerText(const GameScene& scene)
{
    uint32_t elapsed = timeGetTime() - scene.startTime;
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u Sec.", elapsed / 60000, elapsed % 60000 / 1000);
    return text;
}

TEST(GameSceneLandscape, TheNumbersAndTheTimerKeepAwayFromTheHeroine)
{
    kit::GameRun run;
    ASSERT_TRUE(run.QuietFrames(1));
    run.scene->score = 1234;
    saveRecord.tables[0].Insert(98765);

    run.scene->player->MoveTo(20, 159);
    ASSERT_TRUE(run.QuietFrames(1));
    EXPECT_TRUE(DigitsAt(run, 238, 220, "0000001234"));
    EXPECT_TRUE(DigitsAt(run, 138, 220, "0000098765"));
    EXPECT_TRUE(TextAt(run, 240, 25, TimerText(*run.scene).c_str()));

    run.scene->player->MoveTo(20, 160);
    ASSERT_TRUE(run.QuietFrames(1));
    EXPECT_TRUE(DigitsAt(run, 238, 5, "0000001234"));
    EXPECT_TRUE(DigitsAt(run, 138, 5, "0000098765"));
    EXPECT_TRUE(TextAt(run, 240, 200, TimerText(*run.scene).c_str()));
}

TEST(GameSceneLandscape, TheTimerCountsMinutesAndSeconds)
{
    kit::GameRun run;
    saveRecord.gameMode = 1;
    ASSERT_TRUE(run.QuietFrames(1, 65000));
    EXPECT_TRUE(TextAt(run, 240, 25, "01:05 Sec."));
}

TEST(GameSceneLandscape, WithoutATimedGameThereIsNoBestScoreAndNoSnapshot)
{
    kit::GameRun run;
    saveRecord.gameMode = 2;
    ASSERT_TRUE(run.QuietFrames(3));
    EXPECT_TRUE(DigitsAt(run, 238, 220, "0000000000"));
    EXPECT_FALSE(DigitsAt(run, 138, 220, "0000000000"));
    EXPECT_EQ(snapshotCount, 0);
}

// The landscape replaced by plain pictures: sky S, a background that is all key, trees T.
struct PlainLandscape {
    static constexpr uint32_t kSky = 0x00204060;
    static constexpr uint32_t kTrees = 0x00A0C0E0;

    explicit PlainLandscape(kit::GameRun& run)
    {
        GameScene& scene = *run.scene;
        delete scene.skyImage;
        scene.skyImage = new Surface(run.harness.App().window, 320, 240);
        Fill(*scene.skyImage, kSky);
        delete scene.backgroundImage;
        scene.backgroundImage = new Surface(1536, 240);
        Fill(*scene.backgroundImage, 0x0000FF00);
        delete scene.treesImage;
        scene.treesImage = new Surface(960, 90);
        Fill(*scene.treesImage, kTrees);
    }

    static void Fill(Surface& s, uint32_t colour)
    {
        for (int i = 0; i < s.width * s.height; i++)
            s.pixels[i] = colour;
    }
};

uint32_t Blend(uint32_t under, uint32_t over, int weight)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t d = (under >> shift) & 0xFF, s = (over >> shift) & 0xFF;
        out |= ((d * weight + s * (256 - weight)) >> 8) << shift;
    }
    return out;
}

TEST(GameSceneLandscape, TheTreesTurnSeeThroughAsTheHeroineFliesDownAmongThem)
{
    kit::GameRun run;
    PlainLandscape plain(run);
    ASSERT_TRUE(run.QuietFrames(1));
    struct Case {
        int y;
        uint32_t colour;
    };
    using P = PlainLandscape;
    for (Case c : {Case{200, P::kTrees}, Case{123, P::kTrees}, Case{122, P::kTrees},
                   Case{100, Blend(P::kSky, P::kTrees, 88)},
                   Case{91, Blend(P::kSky, P::kTrees, 124)},
                   Case{90, Blend(P::kSky, P::kTrees, 128)},
                   Case{10, Blend(P::kSky, P::kTrees, 128)}}) {
        run.scene->player->MoveTo(20, c.y);
        ASSERT_TRUE(run.QuietFrames(1));
        EXPECT_EQ(At(run.harness.Canvas(), 200, 50), c.colour) << "heroine at y " << c.y;
        EXPECT_EQ(At(run.harness.Canvas(), 200, 90), P::kSky) << "the band is 90 rows high";
    }
}

// Background column c in colour 0x100000 + c, tree column c in 0x200000 + c.
void MarkColumns(kit::GameRun& run)
{
    GameScene& scene = *run.scene;
    delete scene.backgroundImage;
    scene.backgroundImage = new Surface(1536, 240);
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 1536; x++)
            scene.backgroundImage->pixels[y * 1536 + x] = 0x00100000u + x;
    delete scene.treesImage;
    scene.treesImage = new Surface(960, 90);
    for (int y = 0; y < 90; y++)
        for (int x = 0; x < 960; x++)
            scene.treesImage->pixels[y * 960 + x] = 0x00200000u + x;
}

TEST(GameSceneLandscape, LayersScrollAndStartOverFromWhereTheyAre)
{
    kit::GameRun run;
    MarkColumns(run);
    run.scene->player->MoveTo(20, 200);  // trees opaque
    ASSERT_TRUE(run.QuietFrames(1));
    GameScene& scene = *run.scene;
    const Surface& canvas = run.harness.Canvas();

    scene.scrollTime = run.NextNow() - 20000;
    scene.treesScrollTime = run.NextNow() - 6000;
    uint32_t since = scene.scrollTime;
    ASSERT_TRUE(run.QuietFrames(1));
    EXPECT_EQ(scene.backgroundScroll, 1216);
    EXPECT_EQ(At(canvas, 0, 150), 0x00100000u + 1216);
    EXPECT_EQ(At(canvas, 319, 150), 0x00100000u + 1535);
    EXPECT_EQ(At(canvas, 0, 50), 0x00200000u + 640);
    EXPECT_EQ(scene.scrollTime, since);

    scene.scrollTime = run.NextNow() - 20017;
    ASSERT_TRUE(run.QuietFrames(1));
    EXPECT_EQ(scene.backgroundScroll, 1);
    EXPECT_EQ(At(canvas, 0, 150), 0x00100000u + 1);
    EXPECT_EQ(scene.scrollTime, timeGetTime());
}

TEST(GameSceneLandscape, AfterAStallBothLayersStayInsideTheirPictures)
{
    kit::GameRun run;
    MarkColumns(run);
    run.scene->player->MoveTo(20, 200);
    ASSERT_TRUE(run.QuietFrames(1));
    GameScene& scene = *run.scene;

    // 50 s without a frame: 3040 and 5333 columns, more than two turns of each picture.
    scene.scrollTime = run.NextNow() - 50000;
    scene.treesScrollTime = run.NextNow() - 50000;
    ASSERT_TRUE(run.QuietFrames(1));
    EXPECT_EQ(scene.backgroundScroll, 3040 % 1216);
    EXPECT_EQ(scene.treesScroll, 5333 % 640);
    EXPECT_EQ(At(run.harness.Canvas(), 0, 150), 0x00100000u + 3040 % 1216);
    EXPECT_EQ(At(run.harness.Canvas(), 0, 50), 0x00200000u + 5333 % 640);
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
            // The picture is the frame's, but for the timer drawn after it.
            const Surface& canvas = run.harness.Canvas();
            EXPECT_EQ(At(*snapshots[before], 100, 100), At(canvas, 100, 100));
            EXPECT_EQ(At(*snapshots[before], 300, 30), At(canvas, 300, 30));
        }
    }
    return times;
}

TEST(GameSceneLandscape, TenSnapshotsAreSharedByTheRunsAfterStartUp)
{
    kit::GameRun run;
    std::vector<uint32_t> first = SnapshotTimes(run, 12000);
    ASSERT_EQ(first.size(), 3u);
    for (uint32_t k = 0; k < 3; k++) {
        EXPECT_GT(first[k], k * 5000);
        EXPECT_LE(first[k], k * 5000 + 17);
    }

    // The run ends, and the next one-minute run carries on with the fourth picture.
    run.AddStake(30, 126);
    ASSERT_FALSE(run.QuietFrames(1));
    Scene* gameOver = currentScene;
    auto* next = new GameScene;
    next->Init(&run.harness.App(), &run.harness.Canvas(), &run.harness.App().joystick);
    currentScene = run.scene = next;
    delete gameOver;

    std::vector<uint32_t> second = SnapshotTimes(run, 26000);
    ASSERT_EQ(second.size(), 3u);
    for (uint32_t k = 3; k < 6; k++) {
        EXPECT_GT(second[k - 3], k * 5000);
        EXPECT_LE(second[k - 3], k * 5000 + 17);
    }
    EXPECT_EQ(snapshotCount, 6);
}

}  // namespace
