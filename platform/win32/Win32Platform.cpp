// The Windows backend: the window's messages become the platform's events; the clock is
// timeGetTime at 1 ms resolution, which keeps the 17 ms frames steady.

#include "platform/Backend.h"
#include "platform/ClockedAudio.h"
#include "platform/WindowPlacement.h"
#include "platform/win32/NativeJoystick.h"
#include "platform/win32/NativeSound.h"
#include "platform/win32/NativeWindow.h"
#include "platform/win32/Win32.h"

#include <algorithm>

namespace {

class DirectSoundDevice final : public AudioDevice {
public:
    bool Open(const AudioFormat& format, Callback callback, void* context,
              std::string& error) override
    {
        return sound.Open(format.sampleRate, format.channels, callback, context, error);
    }
    void Close() override { sound.Close(); }
    void Lock() override { sound.Lock(); }
    void Unlock() override { sound.Unlock(); }
    void Pause(bool paused) override { sound.Pause(paused); }

private:
    NativeSound sound;
};

class Win32Backend final : public Backend, private NativeWindowEvents {
public:
    // About 59 frames a second, as on every system the game runs on.
    static constexpr uint32_t kFrameInterval = 17;

    uint32_t Milliseconds() override { return NativeMilliseconds(); }

    bool OpenWindow(const char* caption, int width, int height, std::string& error) override
    {
        clientWidth = width;
        clientHeight = height;
        framePresented = false;
        return window.Open(caption, WindowSize(width), WindowSize(height), *this, error);
    }
    void CloseWindow() override { window.Close(); }
    void ShowWindow() override { window.Show(); }
    void SetCaption(const char* caption) override { window.SetCaption(caption); }
    void ResizeWindow(int width, int height) override
    {
        clientWidth = width;
        clientHeight = height;
        ApplyScale();
    }
    void SetFullScreen(bool on) override
    {
        window.SetFullScreen(on);
        ApplyScale();  // a scale chosen meanwhile shows on the way back
    }
    void SetCursorVisible(bool visible) override { window.SetCursorVisible(visible); }

    void SetWindowScale(int factor) override
    {
        scale = std::max(1, factor);
        ApplyScale();
    }
    int WindowScale() override
    {
        // After the player resized the window, the factor the picture has in it now.
        const int pictureWidth = clientWidth / 2;
        const int pictureHeight = clientHeight / 2;
        if (window.isFullScreen() || pictureWidth <= 0 || pictureHeight <= 0)
            return scale;
        int width = 0;
        int height = 0;
        window.ClientSize(width, height);
        return std::max(1, std::min(width / pictureWidth, height / pictureHeight));
    }
    int LargestWindowScale() override
    {
        const int pictureWidth = clientWidth / 2;
        const int pictureHeight = clientHeight / 2;
        int width = 0;
        int height = 0;
        window.WorkArea(width, height);
        if (pictureWidth <= 0 || pictureHeight <= 0)
            return 1;
        return std::max(1, std::min(width / pictureWidth, height / pictureHeight));
    }

    void Present(const DibSection& frame) override
    {
        if (fastForward && framePresented && NativeMilliseconds() - frameStart < kFrameInterval)
            return;
        int width = 0;
        int height = 0;
        window.ClientSize(width, height);
        // Full screen enlarges the doubled picture by whole factors; a window shows the game's
        // own 320x240 picture at the largest whole factor that fits it.
        const RECT place = window.isFullScreen()
                               ? PlacePicture(width, height, frame.width, frame.height)
                               : PlacePicture(width, height, frame.width / 2, frame.height / 2);
        window.Present(frame.pixels, frame.width, frame.height, place.left, place.top,
                       place.right - place.left, place.bottom - place.top);
        WaitForNextFrame();
    }
    void SetFastForward(bool on) override { fastForward = on; }

    void PumpEvents() override { window.Pump(); }
    bool WaitForEvents(uint32_t timeoutMilliseconds) override
    {
        window.Wait(timeoutMilliseconds);
        return true;
    }

    bool IsKeyHeld(int vk) override { return window.IsKeyHeld(vk); }
    bool ReadJoystick(JOYINFO& reading) override
    {
        NativeJoystickReading native;
        if (!ReadNativeJoystick(native))
            return false;
        reading = {native.x, native.y, native.z,
                   native.buttons | (native.start ? JOY_BUTTONSTART : 0)};
        return true;
    }
    std::string JoystickName() override { return NativeJoystickName(); }
    AudioDevice& Audio() override { return sound; }
    void ShowError(const char* text) override { win32::ShowError(text); }

private:
    void KeyDown(int vk, bool alt, bool repeat) override { platform::OnKeyDown(vk, alt, repeat); }
    void KeyUp(int vk, bool alt) override { platform::OnKeyUp(vk, alt); }
    void CloseRequest() override { platform::OnCloseRequest(); }
    void Expose() override { platform::OnExpose(); }
    void FocusLost() override { platform::OnFocusLost(); }

    // The client area is the doubled picture; the window shows it times scale / 2.
    int WindowSize(int clientSize) const { return clientSize * scale / 2; }
    void ApplyScale() { window.SetClientSize(WindowSize(clientWidth), WindowSize(clientHeight)); }

    void WaitForNextFrame()
    {
        if (framePresented && !fastForward) {
            const int32_t early =
                static_cast<int32_t>(frameStart + kFrameInterval - NativeMilliseconds());
            if (early > 0)
                NativeSleep(static_cast<uint32_t>(early));
        }
        frameStart = NativeMilliseconds();
        framePresented = true;
    }

    NativeWindow window;
    DirectSoundDevice sound;
    int clientWidth = 0;
    int clientHeight = 0;
    int scale = 2;
    bool fastForward = false;
    bool framePresented = false;
    uint32_t frameStart = 0;
};

Win32Backend* backend = nullptr;

}  // namespace

namespace win32 {

void Install(bool sound)
{
    BeginFineTimer();
    backend = new Win32Backend;
    platform::InstallBackend(backend, sound ? nullptr : &platform::NullAudioDevice());
}

void Uninstall()
{
    platform::InstallBackend(nullptr);
    delete backend;
    backend = nullptr;
    EndFineTimer();
}

}  // namespace win32
