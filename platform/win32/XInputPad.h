#pragma once
// An Xbox-style controller through XInput, loaded at run time: the program starts where no
// XInput library exists, and then reads its joystick through winmm alone.

// clang-format off
#include <windows.h>
#include <xinput.h>
// clang-format on

#include "NativeJoystick.h"

// The controller's state as the game reads every joystick: the d-pad and the left stick steer
// (the d-pad winning on its axis), A, B, X and Y are buttons 1 to 4, the shoulders second
// buttons 3 and 4 (holding one moves slowly, as the spare button does), Start and Back pause.
NativeJoystickReading ReadingFromXInputPad(const XINPUT_GAMEPAD& pad);

// The first connected controller; false when XInput is missing or none is connected.
bool ReadXInputJoystick(NativeJoystickReading& reading);
