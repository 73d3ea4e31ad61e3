// A whole one-minute run with a fixed seed, clock step and pilot, flown straight and with a
// pause in the middle. Its final score and its last frame are pinned: any change to how the game plays or draws shows here. When a change is
// meant, look at the new last frame (the test leaves it in "GoldenLastFrame.bmp") and pin the
// new values.

#include <cstdint>
#include <tuple>

#include <gtest/gtest.h>

#include "gfx/BmpWriter.h"
#include "scenes/EndingScene.h"
#include "tests/scenes/GameScenePilot.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

uint64_t Fnv1a(const uint32_t* words, size_t count)
{
    uint64_t hash = 0xCBF29CE484222325ull;
    const auto* bytes = reinterpret_cast<const unsigned char*>(words);
    for (size_t i = 0; i < count * 4; i++)
        hash = (hash ^ bytes[i]) * 0x100000001B3ull;
    return hash;
}

// The run flown by the pilot; with pauseAt, paused for pauseFrames frames before that game
// frame by a P that the same P later resumes. Frames, final score and last frame's hash.
std::tuple<int, int32_t, uint64_t> FlyOneMinute(int pauseAt = -1, int pauseFrames = 0)
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
        frames++;
    }
    scripted::ReleaseAllKeys();

    auto* ending = dynamic_cast<EndingScene*>(currentScene);
    EXPECT_NE(ending, nullptr) << "the pilot lasted the minute";
    Surface& canvas = run.harness.Canvas();
    if (pauseAt < 0)
        SaveBmp(canvas, "GoldenLastFrame.bmp");
    return {frames, ending ? ending->runScore : -1, Fnv1a(canvas.pixels, 320 * 240)};
}

TEST(GameSceneGolden, AOneMinuteRunPlaysTheSameEveryTimePausedOrNot)
{
    const std::tuple<int, int32_t, uint64_t> golden{3530, 33490, 0xbd3e4a9cb17e40f4ull};
    EXPECT_EQ(FlyOneMinute(), golden);
    // Paused for 2 s in the thick of it, with shots, enemies and bullets in flight.
    EXPECT_EQ(FlyOneMinute(1700, 120), golden);
}

}  // namespace
