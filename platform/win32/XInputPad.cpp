#include "XInputPad.h"

#include <mmsystem.h>

namespace {

// A stick reads as pushed along an axis past this much of its travel: past the controller's
// own dead zone, and at the edge of eight equal sectors (sin 22.5 degrees), so a stick pushed
// halfway between two directions reads as their diagonal and one pushed near an axis as that
// axis alone.
constexpr int kStickPushed = 12540;
static_assert(kStickPushed > XINPUT_GAMEPAD_LEFT_THUMB_DEADZONE);

constexpr uint32_t kAxisMinimum = 0, kAxisCentre = 32768, kAxisMaximum = 65535;

uint32_t Axis(bool towardMinimum, bool towardMaximum)
{
    if (towardMinimum == towardMaximum)
        return kAxisCentre;
    return towardMinimum ? kAxisMinimum : kAxisMaximum;
}

// The d-pad's two buttons of an axis when either is held, else the stick's side of it.
uint32_t AxisOf(WORD buttons, WORD minimumButton, WORD maximumButton, int stickTowardMaximum)
{
    const bool minimum = buttons & minimumButton, maximum = buttons & maximumButton;
    if (minimum || maximum)
        return Axis(minimum, maximum);
    const bool pushedTowardMinimum = stickTowardMaximum < -kStickPushed;
    const bool pushedTowardMaximum = stickTowardMaximum > kStickPushed;
    return Axis(pushedTowardMinimum, pushedTowardMaximum);
}

struct ButtonBit {
    WORD pad;
    uint32_t reading;
};
constexpr ButtonBit kButtons[] = {
    {XINPUT_GAMEPAD_A, 1},
    {XINPUT_GAMEPAD_B, 2},
    {XINPUT_GAMEPAD_X, 4},
    {XINPUT_GAMEPAD_Y, 8},
    {XINPUT_GAMEPAD_LEFT_SHOULDER, 4},
    {XINPUT_GAMEPAD_RIGHT_SHOULDER, 8},
};

using GetStateCall = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

// The newest XInput first (Windows 8 on), then the one every Windows since Vista has.
GetStateCall LoadGetState()
{
    for (const wchar_t* library : {L"xinput1_4.dll", L"xinput9_1_0.dll"}) {
        if (HMODULE module = LoadLibraryW(library)) {
            if (FARPROC call = GetProcAddress(module, "XInputGetState"))
                return reinterpret_cast<GetStateCall>(reinterpret_cast<void*>(call));
            FreeLibrary(module);
        }
    }
    return nullptr;
}

// Asking for controllers that are not there is slow on some systems: while none is connected,
// they are asked again only once a second.
constexpr DWORD kAbsentRetryMilliseconds = 1000;

}  // namespace

NativeJoystickReading ReadingFromXInputPad(const XINPUT_GAMEPAD& pad)
{
    NativeJoystickReading reading;
    // XInput's stick counts up as positive; the game's axes grow downwards.
    reading.x =
        AxisOf(pad.wButtons, XINPUT_GAMEPAD_DPAD_LEFT, XINPUT_GAMEPAD_DPAD_RIGHT, pad.sThumbLX);
    reading.y = AxisOf(pad.wButtons, XINPUT_GAMEPAD_DPAD_UP, XINPUT_GAMEPAD_DPAD_DOWN,
                       -static_cast<int>(pad.sThumbLY));
    reading.z = kAxisCentre;
    for (const ButtonBit& button : kButtons) {
        if (pad.wButtons & button.pad)
            reading.buttons |= button.reading;
    }
    reading.start = pad.wButtons & (XINPUT_GAMEPAD_START | XINPUT_GAMEPAD_BACK);
    return reading;
}

bool ReadXInputJoystick(NativeJoystickReading& reading)
{
    static const GetStateCall getState = LoadGetState();
    static DWORD connected = XUSER_MAX_COUNT;  // none
    static DWORD lastSearch = 0;
    static bool searched = false;
    if (!getState)
        return false;
    XINPUT_STATE state = {};
    if (connected < XUSER_MAX_COUNT && getState(connected, &state) == ERROR_SUCCESS) {
        reading = ReadingFromXInputPad(state.Gamepad);
        return true;
    }
    connected = XUSER_MAX_COUNT;
    const DWORD now = timeGetTime();
    if (searched && now - lastSearch < kAbsentRetryMilliseconds)
        return false;
    searched = true;
    lastSearch = now;
    for (DWORD user = 0; user < XUSER_MAX_COUNT; user++) {
        if (getState(user, &state) == ERROR_SUCCESS) {
            connected = user;
            reading = ReadingFromXInputPad(state.Gamepad);
            return true;
        }
    }
    return false;
}
