#pragma once
// The first joystick: an Xbox-style controller through XInput when one is connected, else the
// first joystick winmm knows (which sees such a controller too, but without its d-pad as
// buttons, with both triggers on one axis and no Start). Free of Windows' types.

#include <cstdint>
#include <string>

struct NativeJoystickReading {
    uint32_t x = 0, y = 0, z = 0;  // 0 to 65535, the middle at rest
    uint32_t buttons = 0;          // bits 1, 2, 4, 8 for the first four buttons
    bool start = false;            // a controller's pause button
};

// False when no joystick is plugged in.
bool ReadNativeJoystick(NativeJoystickReading& reading);
std::string NativeJoystickName();
