#pragma once
// The reads a player steers by: a held key and the first pad, as a table of answers. On their
// own, the game's objects read the platform live; whoever notes or answers these reads in the
// platform's place hands the objects a table of its own.

#include "platform/Platform.h"

struct ControlReads {
    bool (*keyHeld)(int vk);              // the held bit of GetAsyncKeyState
    UINT (*readPad)(JOYINFO& reading);    // joyGetPos for joystick 1
    UINT (*readPadCaps)(JOYCAPSA& caps);  // joyGetDevCapsA for joystick 1
};

const ControlReads& LiveControlReads();
