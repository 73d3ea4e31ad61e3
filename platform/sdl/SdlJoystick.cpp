#include "platform/sdl/SdlJoystick.h"

#include "platform/JoystickReading.h"

namespace {

PadState ControllerState(SDL_GameController* controller)
{
    PadState pad;
    pad.stickX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    pad.stickY = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    pad.left = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    pad.right = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    pad.up = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_UP);
    pad.down = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    const SDL_GameControllerButton faces[4] = {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B,
                                               SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y};
    for (int i = 0; i < 4; ++i)
        pad.buttons[i] = SDL_GameControllerGetButton(controller, faces[i]);
    pad.start = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_START);
    return pad;
}

PadState PlainState(SDL_Joystick* device)
{
    PadState pad;
    if (SDL_JoystickNumAxes(device) >= 2) {
        pad.stickX = SDL_JoystickGetAxis(device, 0);
        pad.stickY = SDL_JoystickGetAxis(device, 1);
    }
    if (SDL_JoystickNumHats(device) >= 1) {
        const Uint8 hat = SDL_JoystickGetHat(device, 0);
        pad.left = hat & SDL_HAT_LEFT;
        pad.right = hat & SDL_HAT_RIGHT;
        pad.up = hat & SDL_HAT_UP;
        pad.down = hat & SDL_HAT_DOWN;
    }
    const int buttons = SDL_JoystickNumButtons(device);
    for (int i = 0; i < 4 && i < buttons; ++i)
        pad.buttons[i] = SDL_JoystickGetButton(device, i);
    return pad;
}

}  // namespace

void SdlJoystick::Open()
{
    if (device || SDL_NumJoysticks() < 1)
        return;
    if (SDL_IsGameController(0)) {
        controller = SDL_GameControllerOpen(0);
        device = controller ? SDL_GameControllerGetJoystick(controller) : nullptr;
    }
    if (!device)
        device = SDL_JoystickOpen(0);
}

void SdlJoystick::Close()
{
    if (controller)
        SDL_GameControllerClose(controller);
    else if (device)
        SDL_JoystickClose(device);
    controller = nullptr;
    device = nullptr;
}

void SdlJoystick::OnDeviceAdded()
{
    Open();
}

void SdlJoystick::OnDeviceRemoved(SDL_JoystickID id)
{
    if (device && SDL_JoystickInstanceID(device) == id) {
        Close();
        Open();
    }
}

bool SdlJoystick::Read(JOYINFO& reading) const
{
    if (!device || !SDL_JoystickGetAttached(device))
        return false;
    reading = ReadingFromPad(controller ? ControllerState(controller) : PlainState(device));
    return true;
}

std::string SdlJoystick::Name() const
{
    const char* name = device ? SDL_JoystickName(device) : nullptr;
    return name ? name : "";
}
