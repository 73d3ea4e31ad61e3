// The first joystick: readings, capabilities, and capture, which turns its readings into
// messages for a window every period milliseconds.

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Backend.h"
#include "platform/PadLayout.h"
#include "platform/Windowing.h"

namespace {

constexpr UINT kAxisMaximum = 65535;
constexpr UINT kButtonCount = 4;
// The shortest and longest capture periods the device accepts, in milliseconds.
constexpr UINT kPeriodMin = 10;
constexpr UINT kPeriodMax = 1000;
// What a wait is bounded by when nothing is captured.
constexpr uint32_t kNoPollDue = 0xFFFFFFFF;

struct Capture {
    HWND window = nullptr;
    UINT period = 0;
    uint32_t lastPoll = 0;
    JOYINFO last = {};
};

UINT threshold = 0;
Capture capture;

bool IsFirstJoystick(UINT id)
{
    return id == JOYSTICKID1;
}

UINT Distance(UINT a, UINT b)
{
    return a > b ? a - b : b - a;
}

}  // namespace

namespace platform {

void ResetJoystick()
{
    threshold = 0;
    capture = {};
}

void PollJoystickCapture()
{
    if (!capture.window)
        return;
    if (!LiveWindow(capture.window)) {
        capture = {};
        return;
    }
    const uint32_t now = CurrentBackend().Milliseconds();
    if (now - capture.lastPoll < capture.period)
        return;
    capture.lastPoll = now;

    JOYINFO reading;
    if (!CurrentBackend().ReadJoystick(reading))
        return;
    reading.wButtons = ArrangePadButtons(reading.wButtons);
    const UINT pressed = reading.wButtons & ~capture.last.wButtons;
    const UINT released = capture.last.wButtons & ~reading.wButtons;
    if (pressed)
        PostMessageA(capture.window, MM_JOY1BUTTONDOWN, reading.wButtons, 0);
    if (released)
        PostMessageA(capture.window, MM_JOY1BUTTONUP, reading.wButtons, 0);
    capture.last.wButtons = reading.wButtons;

    // The threshold is measured from the last position reported, so a slow drift is
    // reported once it has gone far enough.
    if (Distance(reading.wXpos, capture.last.wXpos) > threshold ||
        Distance(reading.wYpos, capture.last.wYpos) > threshold) {
        const LPARAM position =
            static_cast<LPARAM>((reading.wXpos & 0xFFFF) | ((reading.wYpos & 0xFFFF) << 16));
        PostMessageA(capture.window, MM_JOY1MOVE, reading.wButtons, position);
        capture.last.wXpos = reading.wXpos;
        capture.last.wYpos = reading.wYpos;
    }
}

uint32_t JoystickPollDelay()
{
    if (!capture.window)
        return kNoPollDue;
    const uint32_t elapsed = CurrentBackend().Milliseconds() - capture.lastPoll;
    return elapsed >= capture.period ? 0 : capture.period - elapsed;
}

}  // namespace platform

UINT joyGetPos(UINT id, JOYINFO* info)
{
    JOYINFO reading;
    if (!IsFirstJoystick(id) || !platform::CurrentBackend().ReadJoystick(reading))
        return JOYERR_UNPLUGGED;
    reading.wButtons = platform::ArrangePadButtons(reading.wButtons);
    if (info)
        *info = reading;
    return JOYERR_NOERROR;
}

UINT joyGetDevCapsA(UINT id, JOYCAPSA* caps, UINT size)
{
    JOYINFO reading;
    if (!IsFirstJoystick(id) || !platform::CurrentBackend().ReadJoystick(reading))
        return JOYERR_UNPLUGGED;
    if (!caps || size < sizeof(JOYCAPSA))
        return JOYERR_UNPLUGGED;
    *caps = {};
    const std::string name = platform::CurrentBackend().JoystickName();
    std::snprintf(caps->szPname, sizeof caps->szPname, "%s", name.c_str());
    caps->wXmax = kAxisMaximum;
    caps->wYmax = kAxisMaximum;
    caps->wNumButtons = kButtonCount;
    caps->wMaxButtons = kButtonCount;
    caps->wNumAxes = 2;
    caps->wMaxAxes = 2;
    caps->wPeriodMin = kPeriodMin;
    caps->wPeriodMax = kPeriodMax;
    return JOYERR_NOERROR;
}

UINT joySetThreshold(UINT id, UINT newThreshold)
{
    if (!IsFirstJoystick(id))
        return JOYERR_UNPLUGGED;
    threshold = newThreshold;
    return JOYERR_NOERROR;
}

UINT joySetCapture(HWND window, UINT id, UINT period, BOOL onlyChanges)
{
    // Readings are only ever reported when they change, whatever onlyChanges asks.
    JOYINFO reading;
    if (!IsFirstJoystick(id) || !platform::LiveWindow(window) ||
        !platform::CurrentBackend().ReadJoystick(reading))
        return JOYERR_UNPLUGGED;
    capture.window = window;
    capture.period = period < kPeriodMin ? kPeriodMin : period > kPeriodMax ? kPeriodMax : period;
    capture.lastPoll = platform::CurrentBackend().Milliseconds();
    capture.last = reading;
    capture.last.wButtons = platform::ArrangePadButtons(reading.wButtons);
    return JOYERR_NOERROR;
}

UINT joyReleaseCapture(UINT id)
{
    if (!IsFirstJoystick(id))
        return JOYERR_UNPLUGGED;
    capture = {};
    return JOYERR_NOERROR;
}
