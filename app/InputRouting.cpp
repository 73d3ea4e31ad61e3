// Input messages go on to the hooks of whichever scene is current when they are dispatched, so
// a key pressed between a scene switch and the successor's first frame reaches the successor.

#include "app/GameApp.h"
#include "scenes/Scene.h"

namespace {

int ForwardJoyButtonDown(WPARAM buttons)
{
    if (currentScene)
        currentScene->OnJoyButtonDown(static_cast<UINT>(buttons));
    return 0;
}

int ForwardJoyButtonUp(WPARAM buttons)
{
    if (currentScene)
        currentScene->OnJoyButtonUp(static_cast<UINT>(buttons));
    return 0;
}

int ForwardJoyMove(LPARAM position)
{
    if (currentScene)
        currentScene->OnJoyMove(static_cast<uint32_t>(position));
    return 0;
}

}  // namespace

int GameApp::OnJoy1ButtonDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    return ForwardJoyButtonDown(wParam);
}

int GameApp::OnJoy2ButtonDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    return ForwardJoyButtonDown(wParam);
}

int GameApp::OnJoy1ButtonUp(HWND window, WPARAM wParam, LPARAM lParam)
{
    return ForwardJoyButtonUp(wParam);
}

int GameApp::OnJoy2ButtonUp(HWND window, WPARAM wParam, LPARAM lParam)
{
    return ForwardJoyButtonUp(wParam);
}

int GameApp::OnJoy1Move(HWND window, WPARAM wParam, LPARAM lParam)
{
    return ForwardJoyMove(lParam);
}

int GameApp::OnJoy2Move(HWND window, WPARAM wParam, LPARAM lParam)
{
    return ForwardJoyMove(lParam);
}

int GameApp::OnKeyDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    const int vk = static_cast<int>(wParam);
    const bool repeat = lParam & kKeyWasDown;
    if (HandlePlayerKey(vk, repeat))
        return 0;
    if (currentScene && !repeat)
        currentScene->OnKeyPress(vk);
    if (currentScene)
        currentScene->OnKeyDown(vk);
    return 0;
}

int GameApp::OnKillFocus(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (currentScene)
        currentScene->OnFocusLost();
    return 0;
}
