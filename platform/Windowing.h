#pragma once
// What the window, message, input and joystick parts of the platform layer share among
// themselves. Neither the game nor the backends include it.

#include <string>
#include <utility>
#include <vector>

#include "platform/Backend.h"
#include "platform/Internal.h"

// A window as the services keep it. There is no frame inside the rectangle: the window
// manager draws its decorations outside, so the client area is the whole rectangle.
struct Window {
    std::string className;
    std::string caption;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    RECT rect = {};
    bool visible = false;
    bool invalid = false;  // its picture must be painted again
    bool destroying = false;
    std::vector<std::pair<std::string, void*>> properties;
    DibSection frame;  // the client-area picture, presented by EndPaint
};

namespace platform {

// The window behind a handle; null when the handle is not a live window (never created, or
// destroyed since), so that a stale handle is refused instead of followed.
Window* LiveWindow(HWND handle);
void SetPlatformError(const std::string& text);

// Called by InstallBackend: each part forgets what it keeps.
void ResetWindows();
void ResetMessages();
void ResetKeys();
void ResetJoystick();
void ResetPadLayout();
void ResetCursor();
void ResetSound();

// Drops every queued message of a window that is being destroyed.
void DropMessagesFor(HWND window);
// While the joystick is captured and its period is up, posts its move and button messages.
void PollJoystickCapture();
// How long a wait for messages may last before the joystick must be polled again.
uint32_t JoystickPollDelay();

}  // namespace platform
