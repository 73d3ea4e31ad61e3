#include "NativeJoystick.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "WideText.h"
#include "XInputPad.h"

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

// Asking winmm for a joystick that is not there can take milliseconds, every frame: while none
// answers, it is asked again only once a second (a pad plugged in is seen within that).
constexpr DWORD kAbsentRetryMilliseconds = 1000;
bool xinput = false;  // the last reading came from XInput
bool absent = true;   // until winmm names the device
bool tried = false;
DWORD lastTry = 0;
JOYCAPSW caps = {};

bool Present()
{
    if (!absent)
        return true;
    const DWORD now = timeGetTime();
    if (tried && now - lastTry < kAbsentRetryMilliseconds)
        return false;
    tried = true;
    lastTry = now;
    absent = joyGetDevCapsW(JOYSTICKID1, &caps, sizeof caps) != JOYERR_NOERROR;
    return !absent;
}

}  // namespace

bool ReadNativeJoystick(NativeJoystickReading& reading)
{
    xinput = ReadXInputJoystick(reading);
    if (xinput)
        return true;
    if (!Present())
        return false;
    JOYINFOEX info = {};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNZ | JOY_RETURNBUTTONS;
    if (joyGetPosEx(JOYSTICKID1, &info) != JOYERR_NOERROR) {
        absent = true;  // pulled out: asked again a second from now
        lastTry = timeGetTime();
        return false;
    }
    reading.x = Stretch(info.dwXpos, caps.wXmin, caps.wXmax);
    reading.y = Stretch(info.dwYpos, caps.wYmin, caps.wYmax);
    reading.z = Stretch(info.dwZpos, caps.wZmin, caps.wZmax);
    reading.buttons = info.dwButtons & 0x0F;
    return true;
}

std::string NativeJoystickName()
{
    // Asked only while a reading succeeds: the capabilities read when the device appeared.
    if (xinput)
        return "XInput controller";
    return absent ? std::string() : Utf8(caps.szPname);
}
