#pragma once
// The reads a player steers by: a held key and the first pad. Whoever records or replays runs
// hands the game's objects its own table, which notes or answers each read in turn; on their
// own, objects read the platform live.

#include "platform/Platform.h"

struct ControlReads {
    bool (*keyHeld)(int vk);                // the held bit of GetAsyncKeyState
    UINT (*readPad)(JOYINFO& reading);      // joyGetPos for joystick 1
    UINT (*readPadCaps)(JOYCAPSA& caps);    // joyGetDevCapsA for joystick 1
};

const ControlReads& LiveControlReads();
