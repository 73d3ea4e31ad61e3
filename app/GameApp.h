#pragma once
// The application object: the window, its procedure's handlers, the two display surfaces and
// the joystick record.

#include <cstdint>

#include "platform/JoystickInfo.h"
#include "platform/Platform.h"
#include "replay/Journal.h"

class Surface;

// The window: a 640x480 client area with a caption, a system menu and a minimise box, so it
// cannot be resized or maximised.
constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr DWORD kWindowedStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Bit 30 of a key message's lParam: the key was down already, so this is an auto-repeat.
constexpr LPARAM kKeyWasDown = LPARAM(1) << 30;
// The back buffer every scene draws into; painting doubles it to the window.
constexpr int kCanvasWidth = 320;
constexpr int kCanvasHeight = 240;

// The framework: one window, whose procedure routes every message of its table to a virtual
// handler. A handler returns 0 for handled; anything else sends the message on to
// DefWindowProcA (for WM_CREATE, -1 fails the creation).
class Application {
public:
    Application() = default;
    virtual ~Application();

    virtual int CreateMainWindow(HINSTANCE instance, const char* title, int width, int height,
                                 int showCommand, DWORD style, const char* menuName);
    virtual int OnCreate(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnJoy1ButtonDown(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnJoy1ButtonUp(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnJoy1Move(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnJoy2ButtonDown(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnJoy2ButtonUp(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnJoy2Move(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnMouseButtonDown(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnMouseButtonUp(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnMouseWheel(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnNotify(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnCommand(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnPaint(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnMoving(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnKeyDown(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnSysKeyDown(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnMove(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnSize(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnKillFocus(HWND window, WPARAM wParam, LPARAM lParam) { return 1; }
    virtual int OnClose(HWND window, WPARAM wParam, LPARAM lParam);
    virtual int OnDestroy(HWND window, WPARAM wParam, LPARAM lParam) { return 0; }

    HWND window = nullptr;
    HINSTANCE instance = nullptr;
    char className[260] = {};
};

class GameApp : public Application {
public:
    GameApp();  // fills the joystick record
    ~GameApp() override;

    int OnCreate(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnDestroy(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnPaint(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnSysKeyDown(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnJoy1ButtonDown(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnJoy1ButtonUp(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnJoy1Move(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnJoy2ButtonDown(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnJoy2ButtonUp(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnJoy2Move(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnKeyDown(HWND window, WPARAM wParam, LPARAM lParam) override;
    int OnKillFocus(HWND window, WPARAM wParam, LPARAM lParam) override;

    void EnterFullScreen();
    void LeaveFullScreen();

    // The player's own keys, on every screen (PlayerKeys.cpp): - and = step the volume, M
    // mutes, F5 and F6 step the window's scale. False for any other key.
    bool HandlePlayerKey(int vk, bool repeat);
    // Puts the settings' volumes, window scale and full screen into effect.
    void ApplySettings();
    // Notes the window's scale and full screen in the settings, for the next start.
    void RememberWindow();
    // Puts the settings' volumes into effect.
    void ApplyVolume();

    // While a replay plays, the watcher's keys go here first; true when it took the key.
    bool (*watcherKey)(int vk) = nullptr;
    // What the watcher of a replay is shown over the picture: its bar and its keys.
    void (*watcherOverlay)(Surface& shown) = nullptr;
    // While the player types a name, the volume and mute keys are letters like any other.
    bool typing = false;
    // Verifying a replay shows nothing, so frames are not painted at all.
    bool unseen = false;

    uint8_t windowed = 1;
    Surface* presentBuffer = nullptr;
    Surface* backBuffer = nullptr;
    JoystickInfo joystick;

    // Text on the shown 640x480 picture, with a shadow so it reads on any frame; rows count
    // down from the top. Nothing drawn there reaches the game's own picture or its snapshots.
    static void DrawShownText(Surface& shown, int x, int row, const char* text,
                              COLORREF colour = 0xFFFFFF);

private:
    // Where the journal hands the window's messages on: the current scene's hooks.
    static void HandToScene(const journal::SceneEvent& event);
    void ShowVolume();
    void DrawCaption();

    char caption[16] = {};  // "VOLUME 7" or "MUTE", for a second after a change
    uint32_t captionUntil = 0;
};

// Set while CreateMainWindow runs, so that the messages sent during creation find their
// application before the "lib" property exists.
extern Application* creatingApp;
LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
