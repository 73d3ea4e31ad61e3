// A whole one-minute run with a fixed seed, clock step and pilot, flown straight and with a
// pause in the middle. Its final score and its last frame are pinned: any change to how the
// game plays or draws shows here. The straight flight is also recorded, as every run is; its
// recording is the golden one in tests/data, which ReplayTest plays back. When a change is
// meant, look at the new last frame (the test leaves it in "GoldenLastFrame.bmp"), pin the new
// values here and in ReplayTest, and record the run again: run this test alone with
// KORIMO_RECORD_GOLDEN=1 in the environment, which writes tests/data/golden-one-minute.krp in
// the source tree. (The pilot tells objects apart by address, so a run after other tests in
// the same process may steer differently on the way to the same end; the recording need not
// match a later flight byte for byte.)

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <tuple>

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "gfx/BmpWriter.h"
#include "scenes/EndingScene.h"
#include "tests/scenes/GameScenePilot.h"
#include "tests/scenes/GameSceneTestKit.h"
#include "tests/support/Recordings.h"

namespace {

// The run flown by the pilot; with pauseAt, paused for pauseFrames frames before that game
// frame by a P that the same P later resumes. Frames, final score and last frame's hash.
// watch, when given, looks at every frame of the run as it was shown.
std::tuple<int, int32_t, uint64_t>
FlyOneMinute(int pauseAt = -1, int pauseFrames = 0,
             const std::function<void(GameScene&, GameHarness&)>& watch = nullptr)
{
    kit::GameRun run;  // the clock starts at 1000, which seeds the generator
    Pilot pilot;
    int frames = 0;
    while (run.Running() && frames < 4000) {
        if (frames == pauseAt) {
            scripted::PressKey('P');
            run.harness.RunFrames(pauseFrames);
            EXPECT_TRUE(run.scene->paused);
            scripted::PressKey('P');
        }
        pilot.Steer(*run.scene);
        run.harness.RunFrames(1, 17);
        if (watch && run.Running())
            watch(*run.scene, run.harness);
        frames++;
    }
    scripted::ReleaseAllKeys();

    auto* ending = dynamic_cast<EndingScene*>(currentScene);
    EXPECT_NE(ending, nullptr) << "the pilot lasted the minute";
    Surface& canvas = run.harness.Canvas();
    if (pauseAt < 0)
        SaveBmp(canvas, "GoldenLastFrame.bmp");
    return {frames, ending ? ending->runScore : -1,
            journal::PictureChecksum(canvas.pixels, 320 * 240)};
}

TEST(GameSceneGolden, AOneMinuteRunPlaysTheSameEveryTimePausedOrNot)
{
    const std::tuple<int, int32_t, uint64_t> golden{3530, 33490, 0xbd3e4a9cb17e40f4ull};
    std::filesystem::remove_all("replays");
    journal::RecordRuns(true);
    EXPECT_EQ(FlyOneMinute(), golden);
    journal::RecordRuns(false);

    // ReplayTest plays the checked-in recording back.
    if (std::getenv("KORIMO_RECORD_GOLDEN"))
        std::filesystem::copy_file("replays/last1.krp", recordings::kGolden,
                                   std::filesystem::copy_options::overwrite_existing);

    // Paused for 2 s in the thick of it, with shots, enemies and bullets in flight.
    EXPECT_EQ(FlyOneMinute(1700, 120), golden);
}

// Whether the shown picture differs from the game's own, doubled, anywhere inside box (the
// game's pixels, rows from the bottom), and whether it shows colour there.
bool ShownDiffers(GameHarness& game, const RECT& box, uint32_t colour = 0xFFFFFFFF)
{
    for (int y = std::max(0, int(box.top)); y < std::min(240, int(box.bottom)); y++) {
        for (int x = std::max(0, int(box.left)); x < std::min(320, int(box.right)); x++) {
            const uint32_t shown = game.Screen()[size_t(2 * y) * 640 + 2 * x];
            if (shown != game.Canvas().GetPixel(x, y) && (colour > 0xFFFFFF || shown == colour))
                return true;
        }
    }
    return false;
}

TEST(GameSceneGolden, BothAssistsShowOnScreenAndLeaveTheRunAndItsRecordingAsTheyWere)
{
    std::filesystem::remove_all("replays");
    const auto plain = FlyOneMinute();
    int hitBoxShown = 0, calmerBombs = 0, frames = 0;
    journal::RecordRuns(true);
    const auto assisted = FlyOneMinute(-1, 0, [&](GameScene& scene, GameHarness& game) {
        // As the options screen would, but in flight (the harness starts from defaults).
        if (!settings.showHitBox) {
            settings.showHitBox = settings.calmBomb = true;
            return;
        }
        frames++;
        const Player& heroine = *scene.player;
        const int inset = GameScene::kHeroineInset;
        const RECT hit = {heroine.x + inset, heroine.y + inset, heroine.x + 32 - inset,
                          heroine.y + 16 - inset};
        hitBoxShown += ShownDiffers(game, hit, 0xF47A62);
        calmerBombs += scene.bombChange.drawn && ShownDiffers(game, {0, 0, 320, 240});
    });
    journal::RecordRuns(false);
    settings = Settings();
    EXPECT_EQ(assisted, plain);
    EXPECT_EQ(hitBoxShown, frames) << "the hit box on every frame of the run";
    EXPECT_GT(calmerBombs, 10) << "the pilot's bombs were shown calmer";

    const journal::Recording recording = recordings::Load("replays/last1.krp");
    EXPECT_EQ(recording.header.finalScore, std::get<1>(plain));
    EXPECT_EQ(recordings::Verdict(recording).second, 0);
}

}  // namespace
