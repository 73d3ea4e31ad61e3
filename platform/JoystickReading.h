#pragma once
// How a game pad's stick, d-pad and face buttons become a joystick reading: axes 0..65535 with
// the centre at 32768, so that "below minimum + 1000" and "above maximum - 1000" mean pushed.

#include <cstdint>

#include "platform/Platform.h"

struct PadState {
    int16_t stickX = 0;  // -32768 (left) .. 32767 (right)
    int16_t stickY = 0;  // -32768 (up) .. 32767 (down)
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
    bool buttons[4] = {};  // A, B, X, Y, or a plain device's first four buttons
    bool start = false;
};

// The d-pad, when pressed, wins over the stick on its axis.
JOYINFO ReadingFromPad(const PadState& pad);
