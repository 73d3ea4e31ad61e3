#include <gtest/gtest.h>

#include "platform/JoystickReading.h"
#include "tests/app/ShellTestKit.h"
#include "tests/support/GameHarness.h"

namespace {

std::vector<std::string> After(const SceneLog& log, size_t start)
{
    return {log.entries.begin() + static_cast<long>(start), log.entries.end()};
}

using Entries = std::vector<std::string>;

}  // namespace

TEST(Input, KeyDownsReachTheSceneBetweenFramesAutoRepeatIncluded)
{
    SceneLog log;
    GameHarness game;
    ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log); }));
    game.RunFrames(1);

    size_t start = log.entries.size();
    scripted::PressKey(VK_SPACE);
    scripted::HoldKey(VK_UP);
    scripted::PressKey(VK_UP);
    scripted::PressKey(VK_UP);  // held: these two are auto-repeats
    scripted::PressKey(VK_UP);
    scripted::PressKey('X', true);  // with Alt: a system key, not the scene's
    scripted::PressKey(VK_NUMPAD8);
    game.RunFrames(2);
    EXPECT_EQ(After(log, start),
              (Entries{"key 32", "key 38", "key 38", "key 38", "key 104", "frame", "frame"}));
}

TEST(Input, PollingSeesHeldKeysAndEveryPressOnce)
{
    scripted::Install();
    scripted::HoldKey(VK_LEFT);
    EXPECT_NE(GetAsyncKeyState(VK_LEFT) & 0x8000, 0);
    EXPECT_EQ(GetAsyncKeyState(VK_RIGHT), 0);

    // A press that is over before the poll still shows, once.
    scripted::PressKey('B');
    EXPECT_EQ(GetAsyncKeyState('B'), 1);
    EXPECT_EQ(GetAsyncKeyState('B'), 0);

    scripted::ReleaseKey(VK_LEFT);
    EXPECT_EQ(GetAsyncKeyState(VK_LEFT), 0);
    EXPECT_EQ(GetAsyncKeyState(-1), 0);
    EXPECT_EQ(GetAsyncKeyState(4096), 0);
}

TEST(Input, CapturedJoystickReportsMovesBeyondTheThresholdAndButtonStates)
{
    GameHarness::Options options;
    options.joystick = true;
    SceneLog log;
    GameHarness game(options);
    ASSERT_TRUE(game.Boot([&] {
        auto* scene = new RecordingScene(log);
        scene->captureJoystick = true;
        return scene;
    }));
    ASSERT_TRUE(game.App().joystick.available);
    EXPECT_EQ(game.App().joystick.caps.wXmin, 0u);
    EXPECT_EQ(game.App().joystick.caps.wXmax, 65535u);
    EXPECT_EQ(game.App().joystick.caps.wYmax, 65535u);
    game.RunFrames(2);

    size_t start = log.entries.size();
    scripted::SetJoystick(0, 32767, 0);  // full left
    game.RunFrames(2);  // 34 ms: at least one capture period
    EXPECT_EQ(After(log, start).size(), 3u);
    EXPECT_EQ(log.Count("joymove 0,32767"), 1);

    // Within the threshold of the last report: nothing.
    start = log.entries.size();
    scripted::SetJoystick(900, 32767, 0);
    game.RunFrames(4);
    EXPECT_EQ(After(log, start), Entries(4, "frame"));

    // Button 2, then 1 as well: each down reports every button held; letting go reports up.
    scripted::SetJoystick(900, 32767, JOY_BUTTON2);
    game.RunFrames(2);
    scripted::SetJoystick(900, 32767, JOY_BUTTON1 | JOY_BUTTON2);
    game.RunFrames(2);
    scripted::SetJoystick(900, 32767, 0);
    game.RunFrames(2);
    EXPECT_EQ(log.Count("joydown 2"), 1);
    EXPECT_EQ(log.Count("joydown 3"), 1);
    EXPECT_EQ(log.Count("joyup 0"), 1);

    // Released: no more messages.
    joyReleaseCapture(JOYSTICKID1);
    start = log.entries.size();
    scripted::SetJoystick(65535, 0, JOY_BUTTON1);
    game.RunFrames(4);
    EXPECT_EQ(After(log, start), Entries(4, "frame"));
}

TEST(Input, WithoutJoystickTheRecordSaysSoAndNothingArrives)
{
    SceneLog log;
    GameHarness game;
    ASSERT_TRUE(game.Boot([&] {
        auto* scene = new RecordingScene(log);
        scene->captureJoystick = true;
        return scene;
    }));
    EXPECT_FALSE(game.App().joystick.available);
    JOYINFO reading;
    EXPECT_EQ(joyGetPos(JOYSTICKID1, &reading), JOYERR_UNPLUGGED);
    // Plugged in later: not seen by the record, and the capture was refused at the start.
    scripted::AttachJoystick();
    scripted::SetJoystick(0, 0, JOY_BUTTON1);
    game.RunFrames(4);
    EXPECT_EQ(log.entries, (Entries{"init", "frame", "frame", "frame", "frame"}));
    EXPECT_FALSE(game.App().joystick.available);
}

TEST(Input, MouseMessagesReachTheMatchingHook)
{
    SceneLog log;
    GameHarness game;
    ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log); }));
    const LPARAM at = (20 << 16) | 10;
    scripted::PostToWindow(WM_LBUTTONDOWN, MK_LBUTTON, at);
    scripted::PostToWindow(WM_RBUTTONUP, MK_RBUTTON, at);
    scripted::PostToWindow(WM_MBUTTONDOWN, 0, at);  // neither left nor right: no hook
    scripted::PostToWindow(WM_MOUSEMOVE, 0, at);
    game.RunFrames(1);
    EXPECT_EQ(log.entries, (Entries{"init", "ldown 10,20", "rup 10,20", "move 10,20", "frame"}));
}

TEST(Input, PadReadingsFollowTheAxisRule)
{
    // An axis is pushed toward its minimum below 0 + 1000 and toward its maximum above
    // 65535 - 1000, the ranges joyGetDevCapsA reports.
    auto pushedLow = [](UINT value) { return value < 0 + JoystickInfo::kDeadZone; };
    auto pushedHigh = [](UINT value) { return value > 65535 - JoystickInfo::kDeadZone; };

    PadState pad;
    JOYINFO centre = ReadingFromPad(pad);
    EXPECT_FALSE(pushedLow(centre.wXpos) || pushedHigh(centre.wXpos));
    EXPECT_FALSE(pushedLow(centre.wYpos) || pushedHigh(centre.wYpos));
    EXPECT_EQ(centre.wButtons, 0u);

    pad.stickX = -32768;
    pad.stickY = 32767;
    JOYINFO stick = ReadingFromPad(pad);
    EXPECT_TRUE(pushedLow(stick.wXpos));
    EXPECT_TRUE(pushedHigh(stick.wYpos)) << "down is the maximum side";

    // The d-pad wins over the stick on its axis; both directions at once cancel to the stick.
    pad = {};
    pad.stickX = -32768;
    pad.right = true;
    pad.up = true;
    JOYINFO dpad = ReadingFromPad(pad);
    EXPECT_TRUE(pushedHigh(dpad.wXpos));
    EXPECT_TRUE(pushedLow(dpad.wYpos));
    pad.left = true;
    EXPECT_TRUE(pushedLow(ReadingFromPad(pad).wXpos));

    // A small tilt stays inside the dead zone.
    pad = {};
    pad.stickX = -31000;
    EXPECT_FALSE(pushedLow(ReadingFromPad(pad).wXpos));

    pad = {};
    pad.buttons[0] = pad.buttons[3] = true;
    EXPECT_EQ(ReadingFromPad(pad).wButtons, JOY_BUTTON1 | JOY_BUTTON4);
}
