// Pausing a run and giving it up, with the keys and with a pad that comes and goes, played
// through the scripted platform.

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "app/SaveRecord.h"
#include "scenes/GameOverScene.h"
#include "sound/SoundSystem.h"
#include "tests/gfx/GfxTestKit.h"
#include "tests/scenes/GameSceneTestKit.h"

namespace {

TEST(Pause, ThePausedScreenStandsStillAndSoDoTheSounds)
{
    kit::GameRun run;
    ASSERT_TRUE(run.QuietFrames(30));
    ASSERT_TRUE(scripted::IsClipPlaying(kSoundGameMusic));
    const uint32_t live = run.harness.Canvas().GetPixel(5, 200);

    scripted::PressKey(VK_ESCAPE);
    run.QuietFrames(1);
    const std::vector<uint32_t> first = run.harness.Screen();
    EXPECT_FALSE(scripted::IsClipPlaying(kSoundGameMusic));
    run.QuietFrames(60);  // a second later
    EXPECT_TRUE(run.harness.Screen() == first) << "the paused picture moved";
    EXPECT_EQ(run.harness.Canvas().GetPixel(5, 200), (live >> 1) & 0x7F7F7F)
        << "the frame stays, darkened";
    EXPECT_TRUE(run.harness.TextAt(140, 100, "PAUSE"));
    // Holding the key auto-repeats; it neither resumes nor pauses again.
    scripted::HoldKey(VK_ESCAPE);
    scripted::PressKey(VK_ESCAPE);
    run.QuietFrames(1);
    EXPECT_TRUE(run.scene->paused);
    scripted::ReleaseKey(VK_ESCAPE);

    scripted::PressKey('P');
    run.QuietFrames(1);
    EXPECT_FALSE(run.scene->paused);
    EXPECT_TRUE(scripted::IsClipPlaying(kSoundGameMusic));
    EXPECT_FALSE(run.harness.TextAt(140, 100, "PAUSE"));

    // Losing the focus (or being minimised) pauses; the run's clock, by which the heroine
    // steps, stands meanwhile.
    const uint32_t lastStep = run.scene->player->lastStep;
    scripted::PostToWindow(WM_KILLFOCUS);
    run.QuietFrames(300);
    EXPECT_TRUE(run.scene->paused);
    scripted::PressKey('P');
    run.QuietFrames(1);
    EXPECT_EQ(run.scene->player->lastStep, lastStep + 17) << "the run's clock went on";
}

TEST(Pause, QWhilePausedGivesTheRunUpAsAHitWould)
{
    kit::GameRun run;
    ASSERT_TRUE(run.QuietFrames(10));
    run.scene->score = 1230;
    scripted::PressKey('Q');
    EXPECT_TRUE(run.QuietFrames(2)) << "Q means nothing while the run goes on";

    scripted::PressKey('P');
    scripted::PressKey('Q');
    run.QuietFrames(1);
    EXPECT_NE(dynamic_cast<GameOverScene*>(currentScene), nullptr);
    EXPECT_EQ(saveRecord.tables[0].Best(), 1230);
    EXPECT_FALSE(scripted::IsClipPlaying(kSoundGameMusic));
}

TEST(Pads, APadComingAndGoingInFlightSteersOnlyWhilePluggedIn)
{
    kit::GameRun run;  // no pad at the start
    ASSERT_TRUE(run.QuietFrames(2));
    const int startX = run.scene->player->x;

    scripted::AttachJoystick();
    scripted::SetJoystick(65535, 32767, 0);  // pushed right
    ASSERT_TRUE(run.QuietFrames(5));
    EXPECT_EQ(run.scene->player->x, startX + 5 * 4) << "a pad plugged in late steers";

    // Pulled out while pushed: she stops, and does not drift to the corner.
    scripted::DetachJoystick();
    const int x = run.scene->player->x, y = run.scene->player->y;
    ASSERT_TRUE(run.QuietFrames(10));
    EXPECT_EQ(run.scene->player->x, x);
    EXPECT_EQ(run.scene->player->y, y);

    // Plugged back, Start pauses and, pressed again, resumes; the bombing button gives the run
    // up only while it is paused.
    scripted::AttachJoystick();
    const auto press = [&](unsigned buttons) {
        scripted::SetJoystick(32768, 32768, buttons);
        run.QuietFrames(1);
        scripted::SetJoystick(32768, 32768, 0);
        return run.QuietFrames(3);
    };
    press(JOY_BUTTONSTART);
    EXPECT_TRUE(run.scene->paused);
    press(JOY_BUTTONSTART);
    EXPECT_FALSE(run.scene->paused);
    run.scene->score = 4560;
    EXPECT_TRUE(press(JOY_BUTTON2)) << "the bombing button gives nothing up in flight";
    press(JOY_BUTTONSTART);
    ASSERT_TRUE(run.scene->paused);
    press(JOY_BUTTON2);
    EXPECT_NE(dynamic_cast<GameOverScene*>(currentScene), nullptr);
    EXPECT_EQ(saveRecord.tables[0].Best(), 4560);
    scripted::DetachJoystick();
}

}  // namespace
