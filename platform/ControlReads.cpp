#include "platform/ControlReads.h"

namespace {

bool LiveKeyHeld(int vk)
{
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}

UINT LivePad(JOYINFO& reading)
{
    reading = {};
    return joyGetPos(JOYSTICKID1, &reading);
}

UINT LivePadCaps(JOYCAPSA& caps)
{
    return joyGetDevCapsA(JOYSTICKID1, &caps, sizeof caps);
}

constexpr ControlReads kLive = {LiveKeyHeld, LivePad, LivePadCaps};

}  // namespace

const ControlReads& LiveControlReads()
{
    return kLive;
}
