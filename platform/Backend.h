#pragma once
// The operating-system half of the platform layer. The Windows-like services of Platform.h
// (windows, the message queue, painting, key polling, joystick capture) are written once over
// this interface; a backend supplies only the clock, the one native window, the event pump and
// the raw keyboard and joystick readings. platform/sdl is the game's backend,
// platform/scripted the tests'.

#include <cstdint>
#include <string>

#include "platform/Platform.h"

struct DibSection;

class Backend {
public:
    virtual ~Backend() = default;

    // Milliseconds of a monotonic clock, truncated to 32 bits.
    virtual uint32_t Milliseconds() = 0;

    // The one native window, hidden until shown. False when there is no display; error then
    // says why in one line.
    virtual bool OpenWindow(const char* caption, int width, int height, std::string& error) = 0;
    virtual void CloseWindow() = 0;
    virtual void ShowWindow() = 0;
    virtual void SetCaption(const char* caption) = 0;
    virtual void ResizeWindow(int width, int height) = 0;
    // Full screen covers the desktop without changing the display mode; the picture is scaled
    // by the largest whole factor that fits and centred on black.
    virtual void SetFullScreen(bool fullScreen) = 0;
    virtual void SetCursorVisible(bool visible) = 0;
    // The window's size on the desktop: window pixels per pixel of the game's picture, which
    // is half the client area each way (see GetWindowScale). WindowScale reports the largest factor that fits the window as it is now, also after
    // the player resized it; LargestWindowScale the largest whose window fits the desktop.
    virtual void SetWindowScale(int scale) = 0;
    virtual int WindowScale() = 0;
    virtual int LargestWindowScale() = 0;
    // Puts the client-area picture on the screen. A backend that paces frames waits here.
    virtual void Present(const DibSection& frame) = 0;

    // Turns the operating system's waiting events into calls of the platform::On* functions.
    virtual void PumpEvents() = 0;
    // Sleeps until an event may be waiting or the time is up. False when no event can ever
    // arrive (a scripted platform with nothing left to report), so a wait would never end.
    virtual bool WaitForEvents(uint32_t timeoutMilliseconds) = 0;

    // Whether the key with this virtual-key code is held now.
    virtual bool IsKeyHeld(int vk) = 0;
    // The first joystick's reading (axes 0..65535, buttons JOY_BUTTON1..4); false when there is
    // none.
    virtual bool ReadJoystick(JOYINFO& reading) = 0;
    // The first joystick's product name; only asked while ReadJoystick succeeds.
    virtual std::string JoystickName() = 0;
};

namespace platform {

// Makes backend the one the services use and resets everything they keep (windows, classes,
// queue, key latches, joystick capture, cursor). The backend outlives its use; null uninstalls.
void InstallBackend(Backend* backend);
Backend& CurrentBackend();

// What a backend's PumpEvents reports. Keys carry virtual-key codes; alt tells whether an Alt
// key was held, repeat whether the key was already down (auto-repeat).
void OnKeyDown(int vk, bool alt, bool repeat);
void OnKeyUp(int vk, bool alt);
void OnCloseRequest();  // the close box, the window manager's close, or a termination signal
void OnExpose();  // the window's picture was lost and must be painted again
void OnFocusLost();  // the window lost the keyboard or was minimised

}  // namespace platform
