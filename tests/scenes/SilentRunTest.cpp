// The audio device is the entry function's choice. The null one (--no-sound) lets a whole run
// play out in silence, exactly as it plays with sound; with no device and no other choice made,
// start-up ends the program and says how to play without one.

#include <cstdint>

#include <gtest/gtest.h>

#include "gfx/Surface.h"
#include "scenes/EndingScene.h"
#include "tests/scenes/GameScenePilot.h"
#include "tests/support/GameHarness.h"

namespace {

struct RunResult {
    int frames = 0;
    int score = -1;
    uint64_t pictureSum = 0;
    size_t soundsHeard = 0;
};

RunResult PlayOneMinute(bool silent)
{
    GameHarness harness;
    if (silent)
        scripted::SilenceAudio();
    RunResult result;
    if (!harness.Boot([] { return new GameScene; }))
        return result;
    Pilot pilot;
    while (auto* scene = dynamic_cast<GameScene*>(currentScene)) {
        if (result.frames == 4000)
            break;
        pilot.Steer(*scene);
        harness.RunFrames(1, 17);
        result.frames++;
    }
    scripted::ReleaseAllKeys();
    if (auto* ending = dynamic_cast<EndingScene*>(currentScene))
        result.score = ending->runScore;
    const Surface& canvas = harness.Canvas();
    for (int i = 0; i < canvas.width * canvas.height; i++)
        result.pictureSum = result.pictureSum * 31 + canvas.pixels[i];
    result.soundsHeard = scripted::SoundEvents().size();
    return result;
}

TEST(SilentRun, TheNullAudioDevicePlaysAWholeRunAsWithSoundInSilence)
{
    const RunResult heard = PlayOneMinute(false);
    const RunResult silent = PlayOneMinute(true);
    ASSERT_GT(heard.score, 0) << "the pilot lasted the minute";
    EXPECT_GT(heard.soundsHeard, 100u);
    EXPECT_EQ(silent.soundsHeard, 0u);
    EXPECT_EQ(silent.frames, heard.frames);
    EXPECT_EQ(silent.score, heard.score);
    EXPECT_EQ(silent.pictureSum, heard.pictureSum);
}

TEST(SilentRunDeathTest, StartUpEndsWhenNoAudioDeviceOpens)
{
    GameHarness harness;
    scripted::FailAudioDevice(true);
    EXPECT_EXIT(harness.Boot([] { return new GameScene; }), testing::ExitedWithCode(255),
                "audio device.*SDL_AUDIODRIVER=dummy");
}

}  // namespace
