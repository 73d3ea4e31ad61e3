#include "NativeJoystick.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "WideText.h"

namespace {

// A device's own range, stretched to the 0..65535 the game expects of every joystick.
uint32_t Stretch(DWORD value, UINT minimum, UINT maximum)
{
    if (maximum <= minimum)
        return 32767;
    const uint64_t span = maximum - minimum;
    const uint64_t offset = value < minimum ? 0 : value > maximum ? span : value - minimum;
    return static_cast<uint32_t>(offset * 65535 / span);
}

}  // namespace

bool ReadNativeJoystick(NativeJoystickReading& reading)
{
    JOYCAPSW caps = {};
    if (joyGetDevCapsW(JOYSTICKID1, &caps, sizeof caps) != JOYERR_NOERROR)
        return false;
    JOYINFOEX info = {};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNZ | JOY_RETURNBUTTONS;
    if (joyGetPosEx(JOYSTICKID1, &info) != JOYERR_NOERROR)
        return false;
    reading.x = Stretch(info.dwXpos, caps.wXmin, caps.wXmax);
    reading.y = Stretch(info.dwYpos, caps.wYmin, caps.wYmax);
    reading.z = Stretch(info.dwZpos, caps.wZmin, caps.wZmax);
    reading.buttons = info.dwButtons & 0x0F;
    return true;
}

std::string NativeJoystickName()
{
    JOYCAPSW caps = {};
    if (joyGetDevCapsW(JOYSTICKID1, &caps, sizeof caps) != JOYERR_NOERROR)
        return {};
    return Utf8(caps.szPname);
}
