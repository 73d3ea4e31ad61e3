#pragma once
// The first joystick through winmm, which sees an Xbox-style pad too. Free of Windows' types.

#include <cstdint>
#include <string>

struct NativeJoystickReading {
    uint32_t x = 0, y = 0, z = 0;  // 0 to 65535, the middle at rest
    uint32_t buttons = 0;          // bits 1, 2, 4, 8 for the first four buttons
};

// False when no joystick is plugged in.
bool ReadNativeJoystick(NativeJoystickReading& reading);
std::string NativeJoystickName();
