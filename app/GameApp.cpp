// The game's application object: creation and destruction of what the window needs, painting,
// and the switch between the window and full screen.

#include "app/GameApp.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/PlayerFolder.h"
#include "app/Program.h"
#include "archive/ResourceArchive.h"
#include "gfx/BmpWriter.h"
#include "gfx/Draw.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "scenes/Scene.h"
#include "sound/ClipPreloader.h"
#include "sound/SoundSystem.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr uint16_t kLoadFailed = 0xFFFF;

void ResizeClientArea(HWND window, int width, int height)
{
    RECT bounds = {0, 0, width, height};
    AdjustWindowRect(&bounds, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                     GetMenu(window) != nullptr);
    SetWindowPos(window, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER);
}

// A game without its sound is not started unasked: the player is told how to play in silence,
// and the program ends with -1 as it always has when no device opens.
[[noreturn]] void EndForWantOfSound(const std::string& reason)
{
    // The clips still decoding read the archive, which goes as the program ends.
    if (ClipPreloader::current)
        ClipPreloader::current->StopAndWait();
    const std::string line =
        "no audio device could be opened (" + reason + "); --no-sound runs the game silently";
    std::fprintf(stderr, "korimo: %s\n", line.c_str());
    MessageBoxA(nullptr, line.c_str(), kGameTitle, MB_OK | MB_ICONERROR);
    std::exit(-1);
}

}  // namespace

GameApp::GameApp()
{
    journal::SetEventSink(HandToScene);
    joystick.Refresh(journal::Controls());
}

GameApp::~GameApp() = default;

int GameApp::OnCreate(HWND window, WPARAM wParam, LPARAM lParam)
{
    this->window = window;
    instance = reinterpret_cast<HINSTANCE>(
        static_cast<uintptr_t>(static_cast<uint32_t>(GetWindowLongA(window, GWL_HINSTANCE))));

    BuildTables();
    presentBuffer = new Surface(window, kWindowWidth, kWindowHeight);
    backBuffer = new Surface(window, kCanvasWidth, kCanvasHeight);

    backBuffer->font = CreateFontA(16, 8, 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                   "ＭＳ ゴシック");
    SelectObject(backBuffer->dc, backBuffer->font);
    SetBkMode(backBuffer->dc, TRANSPARENT);
    SetTextColor(backBuffer->dc, kWhite);
    SelectObject(presentBuffer->dc, backBuffer->font);
    SetBkMode(presentBuffer->dc, TRANSPARENT);

    soundSystem = new SoundSystem(window);
    if (!soundSystem->deviceError().empty())
        EndForWantOfSound(soundSystem->deviceError());
    // The load order gives the clips the ids every caller passes.
    for (const char* name : kClipNames) {
        if (soundSystem->Load(resourceArchive, name) == kLoadFailed) {
            std::fprintf(stderr, "korimo: %s\n", soundSystem->error().c_str());
            return -1;
        }
    }

    ApplyVolume();

    if (currentScene)
        currentScene->Init(this, backBuffer, &joystick);
    return 0;
}

int GameApp::OnDestroy(HWND window, WPARAM wParam, LPARAM lParam)
{
    RememberWindow();
    if (!windowed)
        LeaveFullScreen();
    delete presentBuffer;
    delete backBuffer;
    presentBuffer = nullptr;
    backBuffer = nullptr;
    PostQuitMessage(0);
    return 0;
}

int GameApp::OnPaint(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!presentBuffer)
        return 1;  // nothing of ours to show yet
    if (unseen)
        return ValidateRect(window, nullptr) ? 0 : 1;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    Double2x(*backBuffer, *presentBuffer);
    // Down now or pressed since the last paint: holding F1 saves every frame.
    if ((GetAsyncKeyState(VK_F1) & 0xFFFF) && playerFolder.writable())
        SaveSnapshot(*backBuffer, playerFolder.path());
    // After the snapshot, which shows the game's picture alone.
    if (currentScene)
        currentScene->DrawOverShown(*presentBuffer);
    if (watcherOverlay)
        watcherOverlay(*presentBuffer);
    DrawCaption();
    BitBlt(dc, 0, 0, presentBuffer->width, presentBuffer->height, presentBuffer->dc, 0, 0, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
}

int GameApp::OnSysKeyDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (wParam != VK_RETURN)
        return 1;  // Alt+F4 and the other system keys keep their usual meaning
    if (lParam & kKeyWasDown)
        return 0;  // one switch per press, however long Enter is held
    if (windowed)
        EnterFullScreen();
    else
        LeaveFullScreen();
    return 0;
}

void GameApp::EnterFullScreen()
{
    // The display mode stays as it is: the borderless popup covers the desktop and the
    // platform scales its 640x480 picture by a whole factor.
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_POPUP));
    MoveWindow(window, 0, 0, kWindowWidth, kWindowHeight, TRUE);
    ShowWindow(window, SW_SHOW);
    ShowCursor(FALSE);
    windowed = 0;
}

void GameApp::LeaveFullScreen()
{
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(kWindowedStyle));
    ResizeClientArea(window, kWindowWidth, kWindowHeight);
    ShowWindow(window, SW_SHOW);
    ShowCursor(TRUE);
    windowed = 1;
}
