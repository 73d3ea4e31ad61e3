// A whole one-minute run with a fixed seed, clock step and pilot. Its final score and its last
// frame are pinned: any change to how the game plays or draws shows here. When a change is
// meant, look at the new last frame (the test leaves it in "GoldenLastFrame.bmp") and pin the
// new values.

#include <cstdint>

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

TEST(GameSceneGolden, AOneMinuteRunPlaysTheSameEveryTime)
{
    kit::GameRun run;  // the clock starts at 1000, which seeds the generator
    Pilot pilot;
    int frames = 0;
    while (run.Running() && frames < 4000) {
        pilot.Steer(*run.scene);
        run.harness.RunFrames(1, 17);
        frames++;
    }
    scripted::ReleaseAllKeys();

    auto* ending = dynamic_cast<EndingScene*>(currentScene);
    ASSERT_NE(ending, nullptr) << "the pilot lasted the minute";
    Surface& canvas = run.harness.Canvas();
    SaveBmp(canvas, "GoldenLastFrame.bmp");
    EXPECT_EQ(frames, 3530);
    EXPECT_EQ(ending->runScore, 33490);
    EXPECT_EQ(Fnv1a(canvas.pixels, 320 * 240), 0xbd3e4a9cb17e40f4ull);
}

}  // namespace
