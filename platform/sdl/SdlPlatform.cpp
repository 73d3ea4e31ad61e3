// The game's backend: SDL's events become the platform's messages; the clock is the machine's
// monotonic one.

#include "platform/Backend.h"
#include "platform/ClockedAudio.h"
#include "platform/sdl/Sdl.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/sdl/SdlKeys.h"
#include "platform/sdl/SdlScreen.h"

namespace {

class SdlBackend final : public Backend {
public:
    SdlScreen screen;
    SdlJoystick joystick;
    SdlAudioDevice audio;

    uint32_t Milliseconds() override { return MonotonicMilliseconds(); }

    bool OpenWindow(const char* caption, int width, int height, std::string& error) override
    {
        return screen.Open(caption, width, height, error);
    }

    void CloseWindow() override { screen.Close(); }
    void ShowWindow() override { screen.Show(); }
    void SetCaption(const char* caption) override { screen.SetCaption(caption); }
    void ResizeWindow(int width, int height) override { screen.Resize(width, height); }
    void SetFullScreen(bool fullScreen) override { screen.SetFullScreen(fullScreen); }

    void SetCursorVisible(bool visible) override
    {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }

    void SetWindowScale(int scale) override { screen.SetScale(scale); }
    int WindowScale() override { return screen.Scale(); }
    int LargestWindowScale() override { return screen.LargestScale(); }

    void Present(const DibSection& frame) override { screen.Present(frame); }
    void SetFastForward(bool on) override { screen.fastForward = on; }

    void PumpEvents() override
    {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            Handle(event);
    }

    bool WaitForEvents(uint32_t timeoutMilliseconds) override
    {
        // Leaves the event in SDL's queue for the next pump.
        SDL_WaitEventTimeout(nullptr, static_cast<int>(timeoutMilliseconds));
        return true;
    }

    bool IsKeyHeld(int vk) override { return IsVirtualKeyHeld(vk); }
    bool ReadJoystick(JOYINFO& reading) override { return joystick.Read(reading); }
    std::string JoystickName() override { return joystick.Name(); }
    AudioDevice& Audio() override { return audio; }

private:
    void Handle(const SDL_Event& event)
    {
        switch (event.type) {
        case SDL_QUIT: platform::OnCloseRequest(); break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE)
                platform::OnCloseRequest();
            else if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
                platform::OnExpose();
            else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                     event.window.event == SDL_WINDOWEVENT_MINIMIZED)
                platform::OnFocusLost();
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int vk = VirtualKeyFromScancode(event.key.keysym.scancode);
            const bool alt = event.key.keysym.mod & KMOD_ALT;
            if (vk == 0)
                break;
            if (event.type == SDL_KEYDOWN)
                platform::OnKeyDown(vk, alt, event.key.repeat != 0);
            else
                platform::OnKeyUp(vk, alt);
            break;
        }
        case SDL_JOYDEVICEADDED: joystick.OnDeviceAdded(); break;
        case SDL_JOYDEVICEREMOVED: joystick.OnDeviceRemoved(event.jdevice.which); break;
        default: break;
        }
    }
};

SdlBackend* backend = nullptr;

}  // namespace

namespace sdl {

void Install(bool sound)
{
    // The joystick is read while the window is in the background too, as the game always has.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // Without a joystick subsystem the game simply has no joystick.
    SDL_Init(SDL_INIT_EVENTS);
    SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    backend = new SdlBackend;
    backend->joystick.Open();
    platform::InstallBackend(backend, sound ? nullptr : &platform::NullAudioDevice());
}

std::string VersionText()
{
    SDL_version running;
    SDL_GetVersion(&running);
    return "SDL " + std::to_string(running.major) + "." + std::to_string(running.minor) + "." +
           std::to_string(running.patch);
}

void Uninstall()
{
    platform::InstallBackend(nullptr);
    if (backend)
        backend->joystick.Close();
    delete backend;
    backend = nullptr;
    SDL_Quit();
}

}  // namespace sdl
