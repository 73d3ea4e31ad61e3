#include <gtest/gtest.h>

#include "platform/JoystickReading.h"
#include "tests/app/ShellTestKit.h"
#include "tests/support/GameHarness.h"

TEST(Input, KeyDownsReachTheSceneBetweenFramesAutoRepeatIncluded)
{
    SceneLog log;
    GameHarness game;
    ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log, true); }));
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
    EXPECT_EQ(log.Since(start),
              (Entries{"key 32", "key 38", "key 38", "key 38", "key 104", "frame", "frame"}));

    // A key outside the table, even pressed, reads nothing rather than beyond it.
    scripted::PressKey(256);
    EXPECT_EQ(GetAsyncKeyState(256), 0);
    EXPECT_EQ(GetAsyncKeyState(-1), 0);

    // No pad at the start: the record says so and is not refreshed when one is plugged in
    // later, and the scene's capture was refused, so its buttons send nothing.
    EXPECT_FALSE(game.App().joystick.available);
    scripted::AttachJoystick();
    scripted::SetJoystick(0, 0, JOY_BUTTON1);
    start = log.entries.size();
    game.RunFrames(4);
    EXPECT_EQ(log.Since(start), Entries(4, "frame"));
    EXPECT_FALSE(game.App().joystick.available);
}

TEST(Input, CapturedJoystickReportsMovesBeyondTheThresholdAndButtonStates)
{
    SceneLog log;
    GameHarness game({.joystick = true});
    ASSERT_TRUE(game.Boot([&] { return new RecordingScene(log, true); }));
    const JoystickInfo& joystick = game.App().joystick;
    ASSERT_TRUE(joystick.available);
    EXPECT_TRUE(joystick.caps.wXmin == 0 && joystick.caps.wXmax == 65535 &&
                joystick.caps.wYmin == 0 && joystick.caps.wYmax == 65535 &&
                joystick.caps.wMaxButtons == 4);
    game.RunFrames(2);

    size_t start = log.entries.size();
    scripted::SetJoystick(0, 32767, 0);  // full left
    game.RunFrames(2);                   // 34 ms: at least one capture period
    EXPECT_EQ(log.Since(start).size(), 3u);
    EXPECT_EQ(log.Count("joymove 0,32767"), 1);

    // Within the threshold of the last report: nothing.
    start = log.entries.size();
    scripted::SetJoystick(900, 32767, 0);
    game.RunFrames(4);
    EXPECT_EQ(log.Since(start), Entries(4, "frame"));

    // Button 2, then 1 as well: each down reports every button held; letting go reports up.
    for (unsigned buttons : {JOY_BUTTON2, JOY_BUTTON1 | JOY_BUTTON2, 0u}) {
        scripted::SetJoystick(900, 32767, buttons);
        game.RunFrames(2);
    }
    EXPECT_EQ(log.Count("joydown 2"), 1);
    EXPECT_EQ(log.Count("joydown 3"), 1);
    EXPECT_EQ(log.Count("joyup 0"), 1);

    // Released: no more messages.
    joyReleaseCapture(JOYSTICKID1);
    start = log.entries.size();
    scripted::SetJoystick(65535, 0, JOY_BUTTON1);
    game.RunFrames(4);
    EXPECT_EQ(log.Since(start), Entries(4, "frame"));
}

TEST(Input, PadReadingsFollowTheAxisRule)
{
    // -1: pushed toward the minimum (below 0 + 1000), +1: toward the maximum (above
    // 65535 - 1000), the ranges joyGetDevCapsA reports; 0: neither.
    auto side = [](UINT value) {
        return value < 0 + JoystickInfo::kDeadZone       ? -1
               : value > 65535 - JoystickInfo::kDeadZone ? 1
                                                         : 0;
    };
    struct Row {
        const char* what;
        PadState pad;
        int x, y;
    };
    const Row rows[] = {
        {"centred", {}, 0, 0},
        {"stick left and down", {.stickX = -32768, .stickY = 32767}, -1, 1},
        {"small tilt", {.stickX = -31000, .stickY = 31000}, 0, 0},
        {"d-pad wins over the stick", {.stickX = -32768, .right = true, .up = true}, 1, -1},
        {"both ways cancel to the stick",
         {.stickX = -32768, .stickY = 32767, .left = true, .right = true, .up = true, .down = true},
         -1,
         1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const JOYINFO reading = ReadingFromPad(row.pad);
        EXPECT_EQ(side(reading.wXpos), row.x);
        EXPECT_EQ(side(reading.wYpos), row.y);
        EXPECT_EQ(reading.wButtons, 0u);
    }

    EXPECT_EQ(ReadingFromPad({.buttons = {true, false, false, true}}).wButtons,
              JOY_BUTTON1 | JOY_BUTTON4);
}
