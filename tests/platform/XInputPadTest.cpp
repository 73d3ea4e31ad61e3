// How an Xbox-style controller's state reaches the game: the stick and d-pad as the joystick's
// two axes (pushed or centred, as the game reads them), and the buttons where the pad layout
// expects them.

#include <gtest/gtest.h>

#include "platform/win32/XInputPad.h"

namespace {

constexpr uint32_t kLeftOrUp = 0, kCentre = 32768, kRightOrDown = 65535;

XINPUT_GAMEPAD Pad(WORD buttons, SHORT stickX = 0, SHORT stickY = 0)
{
    XINPUT_GAMEPAD pad = {};
    pad.wButtons = buttons;
    pad.sThumbLX = stickX;
    pad.sThumbLY = stickY;
    return pad;
}

}  // namespace

TEST(XInputPad, StickAndDpadSteerAsTheGameReadsAJoystick)
{
    struct Case {
        const char* what;
        XINPUT_GAMEPAD pad;
        uint32_t x, y;
    };
    const Case cases[] = {
        {"at rest", Pad(0), kCentre, kCentre},
        {"a worn stick's drift inside the dead zone", Pad(0, 7000, -7000), kCentre, kCentre},
        {"pushed right", Pad(0, 32767, 0), kRightOrDown, kCentre},
        {"pushed left to the end", Pad(0, -32768, 0), kLeftOrUp, kCentre},
        {"pushed up (XInput counts up as positive)", Pad(0, 0, 32767), kCentre, kLeftOrUp},
        {"pushed down to the end", Pad(0, 0, -32768), kCentre, kRightOrDown},
        {"halfway between right and up", Pad(0, 23170, 23170), kRightOrDown, kLeftOrUp},
        {"halfway between left and down", Pad(0, -23170, -23170), kLeftOrUp, kRightOrDown},
        {"right, a little off towards up", Pad(0, 31650, 8480), kRightOrDown, kCentre},
        {"a light push right", Pad(0, 14000, 0), kRightOrDown, kCentre},
        {"d-pad left", Pad(XINPUT_GAMEPAD_DPAD_LEFT), kLeftOrUp, kCentre},
        {"d-pad down", Pad(XINPUT_GAMEPAD_DPAD_DOWN), kCentre, kRightOrDown},
        {"d-pad up and right", Pad(XINPUT_GAMEPAD_DPAD_UP | XINPUT_GAMEPAD_DPAD_RIGHT),
         kRightOrDown, kLeftOrUp},
        {"d-pad left wins over the stick right", Pad(XINPUT_GAMEPAD_DPAD_LEFT, 32767, 32767),
         kLeftOrUp, kLeftOrUp},
        {"d-pad left and right at once cancel",
         Pad(XINPUT_GAMEPAD_DPAD_LEFT | XINPUT_GAMEPAD_DPAD_RIGHT), kCentre, kCentre},
        {"the right stick does not steer",
         [] {
             XINPUT_GAMEPAD pad = Pad(0);
             pad.sThumbRX = 32767;
             pad.sThumbRY = 32767;
             return pad;
         }(),
         kCentre, kCentre},
    };
    for (const Case& c : cases) {
        const NativeJoystickReading reading = ReadingFromXInputPad(c.pad);
        EXPECT_EQ(reading.x, c.x) << c.what;
        EXPECT_EQ(reading.y, c.y) << c.what;
        EXPECT_EQ(reading.buttons, 0u) << c.what;
        EXPECT_FALSE(reading.start) << c.what;
    }
}

TEST(XInputPad, ButtonsArriveWhereThePadLayoutExpectsThem)
{
    struct Case {
        const char* what;
        WORD held;
        uint32_t buttons;
        bool start;
    };
    const Case cases[] = {
        {"A: button 1 (shoot)", XINPUT_GAMEPAD_A, 1, false},
        {"B: button 2 (bomb)", XINPUT_GAMEPAD_B, 2, false},
        {"X: button 3 (slow)", XINPUT_GAMEPAD_X, 4, false},
        {"Y: button 4", XINPUT_GAMEPAD_Y, 8, false},
        {"left shoulder: a second button 3", XINPUT_GAMEPAD_LEFT_SHOULDER, 4, false},
        {"right shoulder: a second button 4", XINPUT_GAMEPAD_RIGHT_SHOULDER, 8, false},
        {"Start pauses", XINPUT_GAMEPAD_START, 0, true},
        {"Back pauses too", XINPUT_GAMEPAD_BACK, 0, true},
        {"the sticks' clicks are no buttons",
         XINPUT_GAMEPAD_LEFT_THUMB | XINPUT_GAMEPAD_RIGHT_THUMB, 0, false},
        {"A and B together", XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_B, 3, false},
        {"everything",
         0xFFFF & ~(XINPUT_GAMEPAD_DPAD_UP | XINPUT_GAMEPAD_DPAD_DOWN | XINPUT_GAMEPAD_DPAD_LEFT |
                    XINPUT_GAMEPAD_DPAD_RIGHT),
         15, true},
    };
    for (const Case& c : cases) {
        XINPUT_GAMEPAD pad = Pad(c.held);
        pad.bLeftTrigger = pad.bRightTrigger = 255;  // the triggers are no buttons either
        const NativeJoystickReading reading = ReadingFromXInputPad(pad);
        EXPECT_EQ(reading.buttons, c.buttons) << c.what;
        EXPECT_EQ(reading.start, c.start) << c.what;
        EXPECT_EQ(reading.x, kCentre) << c.what;
        EXPECT_EQ(reading.y, kCentre) << c.what;
    }
}
