#include "platform/Backend.h"

#include <cstdio>
#include <cstdlib>

#include "platform/Windowing.h"

namespace platform {

static Backend* installed = nullptr;
static AudioDevice* audioDevice = nullptr;

void InstallBackend(Backend* backend, AudioDevice* audio)
{
    // Windows first: destroying them still reaches the old backend's native window.
    ResetWindows();
    ResetMessages();
    ResetKeys();
    ResetJoystick();
    ResetPadLayout();
    ResetCursor();
    ResetSound();
    installed = backend;
    audioDevice = audio || !backend ? audio : &backend->Audio();
}

Backend& CurrentBackend()
{
    if (!installed) {
        std::fputs("korimo: the platform was used before a backend was installed\n", stderr);
        std::abort();
    }
    return *installed;
}

AudioDevice& CurrentAudioDevice()
{
    CurrentBackend();  // the same complaint when nothing is installed
    return *audioDevice;
}

void OnCloseRequest()
{
    if (HWND window = NativeWindowOwner())
        PostMessageA(window, WM_CLOSE, 0, 0);
}

void OnExpose()
{
    if (HWND window = NativeWindowOwner())
        InvalidateRect(window, nullptr, FALSE);
}

void OnFocusLost()
{
    if (HWND window = NativeWindowOwner())
        PostMessageA(window, WM_KILLFOCUS, 0, 0);
}

}  // namespace platform

int MessageBoxA(HWND, const char* text, const char*, UINT)
{
    if (platform::installed)
        platform::installed->ShowError(text);
    return 1;  // IDOK
}
