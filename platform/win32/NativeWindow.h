#pragma once
// The one Win32 window of the game, with GDI presenting. This header sees neither Windows' nor
// the platform layer's types (they share names), so the backend that joins them includes it.

#include <array>
#include <cstdint>
#include <string>

// What the window's messages mean to the game, as the window procedure reports them.
class NativeWindowEvents {
public:
    virtual ~NativeWindowEvents() = default;
    virtual void KeyDown(int vk, bool alt, bool repeat) = 0;
    virtual void KeyUp(int vk, bool alt) = 0;
    virtual void CloseRequest() = 0;
    virtual void Expose() = 0;
    virtual void FocusLost() = 0;
};

class NativeWindow {
public:
    // A hidden window whose client area is clientWidth x clientHeight.
    bool Open(const char* caption, int clientWidth, int clientHeight, NativeWindowEvents& events,
              std::string& error);
    void Close();
    void Show();
    void SetCaption(const char* caption);
    void SetClientSize(int width, int height);
    // Desktop full screen: a popup over the whole monitor, the display mode unchanged.
    void SetFullScreen(bool on);
    bool isFullScreen() const { return fullScreen; }
    void SetCursorVisible(bool visible);
    void ClientSize(int& width, int& height) const;
    // The desktop's work area of the window's monitor.
    void WorkArea(int& width, int& height) const;

    // Shows a bottom-up picture of 32-bit pixels stretched to the target rectangle of the client
    // area (y downward), the rest black.
    void Present(const uint32_t* pixels, int width, int height, int targetX, int targetY,
                 int targetWidth, int targetHeight);

    // Dispatches the waiting messages; the window procedure reports them.
    void Pump();
    void Wait(uint32_t milliseconds);

    bool IsKeyHeld(int vk) const { return vk >= 0 && vk < 256 && held[static_cast<size_t>(vk)]; }

    // For the window procedure.
    intptr_t Handle(unsigned message, uintptr_t wParam, intptr_t lParam);

private:
    void ReportKey(bool down, uintptr_t wParam, intptr_t lParam);

    void* window = nullptr;
    NativeWindowEvents* events = nullptr;
    bool fullScreen = false;
    bool cursorVisible = true;
    // The window's place and style before it went full screen, for the way back.
    long savedStyle = 0;
    int savedLeft = 0, savedTop = 0, savedWidth = 0, savedHeight = 0;
    std::array<bool, 256> held = {};
};

// Milliseconds of timeGetTime (the multimedia timer, set to 1 ms resolution while the game runs).
uint32_t NativeMilliseconds();
void NativeSleep(uint32_t milliseconds);
// The timer resolution the frame pacing needs: 1 ms from Begin until End.
void BeginFineTimer();
void EndFineTimer();
// A message box with the game's title, for errors a player would not see on a console.
void ShowNativeError(const std::string& text);
