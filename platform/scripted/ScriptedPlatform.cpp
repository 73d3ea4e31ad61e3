// The scripted backend: a clock, keys and a joystick that only the test moves, and a window
// that remembers what was presented. Nothing arrives unless the test makes it arrive, and
// nothing waits.

#include <array>
#include <vector>

#include "platform/Backend.h"
#include "platform/ClockedAudio.h"
#include "platform/scripted/Scripted.h"
#include "platform/scripted/ScriptedAudio.h"

namespace scripted {
namespace {

constexpr unsigned kAxisCentre = 32767;
// As if the desktop held the 640x480 window three times over.
constexpr int kLargestWindowScale = 6;

struct State {
    uint32_t clock = 0;
    std::array<bool, 256> held = {};
    bool joystickAttached = false;
    JOYINFO joystick = {};
    bool failWindowCreation = false;
    bool fullScreen = false;
    bool cursorVisible = true;
    int windowScale = 2;
    std::vector<uint32_t> lastFrame;
    int presentCount = 0;
};

class ScriptedBackend final : public Backend {
public:
    State state;

    uint32_t Milliseconds() override { return state.clock; }

    bool OpenWindow(const char* caption, int width, int height, std::string& error) override
    {
        if (state.failWindowCreation) {
            error = "no display to open a window on";
            return false;
        }
        return true;
    }

    void CloseWindow() override { state.fullScreen = false; }

    void ShowWindow() override {}
    void SetCaption(const char* caption) override {}
    void ResizeWindow(int width, int height) override {}
    void SetFullScreen(bool fullScreen) override { state.fullScreen = fullScreen; }
    void SetCursorVisible(bool visible) override { state.cursorVisible = visible; }
    void SetWindowScale(int scale) override { state.windowScale = scale; }
    int WindowScale() override { return state.windowScale; }
    int LargestWindowScale() override { return kLargestWindowScale; }

    void Present(const DibSection& frame) override
    {
        state.lastFrame.assign(frame.pixels,
                               frame.pixels + static_cast<size_t>(frame.width) * frame.height);
        ++state.presentCount;
    }

    void PumpEvents() override {}
    bool WaitForEvents(uint32_t timeoutMilliseconds) override { return false; }

    bool IsKeyHeld(int vk) override
    {
        return vk >= 0 && vk < static_cast<int>(state.held.size()) && state.held[vk];
    }

    bool ReadJoystick(JOYINFO& reading) override
    {
        if (!state.joystickAttached)
            return false;
        reading = state.joystick;
        return true;
    }

    std::string JoystickName() override { return "Scripted joystick"; }

    AudioDevice& Audio() override { return detail::Audio(); }
};

ScriptedBackend backend;

bool IsValidKey(int vk)
{
    return vk > 0 && vk < static_cast<int>(backend.state.held.size());
}

}  // namespace

void Install()
{
    platform::InstallBackend(&backend);
    backend.state = State{};
    detail::ResetAudio();
}

void SilenceAudio()
{
    platform::InstallBackend(&backend, &platform::NullAudioDevice());
}

void SetClock(uint32_t milliseconds)
{
    backend.state.clock = milliseconds;
}

void AdvanceClock(uint32_t milliseconds)
{
    backend.state.clock += milliseconds;
}

void HoldKey(int vk)
{
    if (IsValidKey(vk))
        backend.state.held[vk] = true;
}

void ReleaseKey(int vk)
{
    if (IsValidKey(vk))
        backend.state.held[vk] = false;
}

void PressKey(int vk, bool alt)
{
    // A key that is already held repeats, as a real one does.
    platform::OnKeyDown(vk, alt, backend.IsKeyHeld(vk));
}

void ReleaseAllKeys()
{
    backend.state.held.fill(false);
}

void AttachJoystick()
{
    backend.state.joystickAttached = true;
    backend.state.joystick = {kAxisCentre, kAxisCentre, 0, 0};
}

void DetachJoystick()
{
    backend.state.joystickAttached = false;
}

void SetJoystick(unsigned x, unsigned y, unsigned buttons)
{
    backend.state.joystick = {x, y, 0, buttons};
}

void PostToWindow(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(platform::NativeWindowOwner(), message, wParam, lParam);
}

void FailWindowCreation(bool fail)
{
    backend.state.failWindowCreation = fail;
}

const std::vector<uint32_t>& LastPresentedFrame()
{
    return backend.state.lastFrame;
}

int PresentCount()
{
    return backend.state.presentCount;
}

bool IsFullScreen()
{
    return backend.state.fullScreen;
}

bool IsCursorVisible()
{
    return backend.state.cursorVisible;
}

HWND TheWindow()
{
    return platform::NativeWindowOwner();
}

}  // namespace scripted
