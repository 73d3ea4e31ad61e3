// Input messages go on to the hooks of whichever scene is current when they are dispatched, so
// a key pressed between a scene switch and the successor's first frame reaches the successor.

// They pass through the journal, which notes them during a recorded run and holds the watcher's
// back while a replay's run plays its own.

#include "app/GameApp.h"
#include "replay/Journal.h"
#include "scenes/Scene.h"

namespace {

using journal::EventKind;

}  // namespace

void GameApp::HandToScene(const journal::SceneEvent& event)
{
    if (!currentScene)
        return;
    switch (event.kind) {
    case EventKind::KeyPress: currentScene->OnKeyPress(static_cast<int>(event.arg)); break;
    case EventKind::KeyDown: currentScene->OnKeyDown(static_cast<int>(event.arg)); break;
    case EventKind::FocusLost: currentScene->OnFocusLost(); break;
    case EventKind::JoyButtonDown: currentScene->OnJoyButtonDown(event.arg); break;
    case EventKind::JoyButtonUp: currentScene->OnJoyButtonUp(event.arg); break;
    case EventKind::JoyMove: currentScene->OnJoyMove(event.arg); break;
    case EventKind::Count: break;
    }
}

namespace {

int Forward(EventKind kind, uintptr_t arg)
{
    journal::Deliver({kind, static_cast<uint32_t>(arg)});
    return 0;
}

int ForwardJoyButtonDown(WPARAM buttons)
{
    return Forward(EventKind::JoyButtonDown, buttons);
}

int ForwardJoyButtonUp(WPARAM buttons)
{
    return Forward(EventKind::JoyButtonUp, buttons);
}

int ForwardJoyMove(LPARAM position)
{
    return Forward(EventKind::JoyMove, static_cast<uintptr_t>(position));
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
    if (watcherKey && !repeat && watcherKey(vk))
        return 0;
    if (!repeat)
        Forward(EventKind::KeyPress, static_cast<uintptr_t>(vk));
    return Forward(EventKind::KeyDown, static_cast<uintptr_t>(vk));
}

int GameApp::OnKillFocus(HWND window, WPARAM wParam, LPARAM lParam)
{
    return Forward(EventKind::FocusLost, 0);
}
