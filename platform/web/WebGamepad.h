#pragma once
// The first game pad the browser's Gamepad API lists, read through its standard layout (left
// stick and d-pad, A, B, X, Y, Start) as the desktop reads a game controller.

#include <string>

#include "platform/Platform.h"

// False when no pad is connected.
bool ReadGamepad(JOYINFO& reading);
std::string GamepadName();
