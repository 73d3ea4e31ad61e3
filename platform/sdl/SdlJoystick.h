#pragma once
// The first joystick. A device that SDL knows as a game controller is read through its
// standard layout (left stick and d-pad, A, B, X, Y); any other through its first two axes,
// its first hat and its first four buttons.

#include <string>

#include <SDL.h>

#include "platform/Platform.h"

class SdlJoystick {
public:
    // Opens the first device, if any.
    void Open();
    void Close();
    // Hot-plugging: a device added while none is open becomes the joystick; removing it
    // falls back to whichever device is first then.
    void OnDeviceAdded();
    void OnDeviceRemoved(SDL_JoystickID id);

    bool Read(JOYINFO& reading) const;
    std::string Name() const;

private:
    SDL_GameController* controller = nullptr;
    SDL_Joystick* device = nullptr;  // also set for a controller: its underlying joystick
};
