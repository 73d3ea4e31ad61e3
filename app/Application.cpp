// The framework: one window whose procedure hands every message of its table to a virtual
// handler of the Application that owns the window.

#include <cstdio>

#include "app/GameApp.h"

Application* creatingApp = nullptr;

namespace {

// The window property under which the owning application is found.
constexpr const char* kOwnerProperty = "lib";

using Handler = int (Application::*)(HWND, WPARAM, LPARAM);

Handler HandlerFor(UINT message)
{
    switch (message) {
    case WM_CREATE: return &Application::OnCreate;
    case WM_DESTROY: return &Application::OnDestroy;
    case WM_MOVE: return &Application::OnMove;
    case WM_SIZE: return &Application::OnSize;
    case WM_KILLFOCUS: return &Application::OnKillFocus;
    case WM_PAINT: return &Application::OnPaint;
    case WM_CLOSE: return &Application::OnClose;
    case WM_NOTIFY: return &Application::OnNotify;
    case WM_KEYDOWN: return &Application::OnKeyDown;
    case WM_SYSKEYDOWN: return &Application::OnSysKeyDown;
    case WM_COMMAND: return &Application::OnCommand;
    case WM_MOUSEMOVE: return &Application::OnMouseMove;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return &Application::OnMouseButtonDown;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return &Application::OnMouseButtonUp;
    case WM_MOUSEWHEEL: return &Application::OnMouseWheel;
    case WM_MOVING: return &Application::OnMoving;
    case MM_JOY1MOVE: return &Application::OnJoy1Move;
    case MM_JOY2MOVE: return &Application::OnJoy2Move;
    case MM_JOY1BUTTONDOWN: return &Application::OnJoy1ButtonDown;
    case MM_JOY2BUTTONDOWN: return &Application::OnJoy2ButtonDown;
    case MM_JOY1BUTTONUP: return &Application::OnJoy1ButtonUp;
    case MM_JOY2BUTTONUP: return &Application::OnJoy2ButtonUp;
    default: return nullptr;
    }
}

}  // namespace

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Messages sent while the window is being created arrive before the property exists.
    Application* target = creatingApp;
    if (!target)
        target = static_cast<Application*>(GetPropA(window, kOwnerProperty));
    const Handler handler = HandlerFor(message);
    if (!target || !handler)
        return DefWindowProcA(window, message, wParam, lParam);

    const int result = (target->*handler)(window, wParam, lParam);
    if (result == 0)
        return 0;
    if (message == WM_CREATE && result == -1)
        return -1;  // refuses the creation
    return DefWindowProcA(window, message, wParam, lParam);
}

Application::~Application()
{
    // The window is normally gone by now; then this is a harmless failed call.
    DestroyWindow(window);
    UnregisterClassA(className, instance);
}

int Application::CreateMainWindow(HINSTANCE instance, const char* title, int width, int height,
                                  int showCommand, DWORD style, const char* menuName)
{
    std::snprintf(className, sizeof className, "%s", title);
    creatingApp = this;

    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetStockObject(WHITE_BRUSH);
    windowClass.lpszMenuName = menuName;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);

    window = CreateWindowExA(0, className, className, style, CW_USEDEFAULT, CW_USEDEFAULT, width,
                             height, nullptr, nullptr, instance, nullptr);
    creatingApp = nullptr;
    if (!window)
        return 0;

    // The window was made width x height including its frame; enlarging that rectangle by
    // the frame makes the client area width x height.
    RECT bounds;
    GetWindowRect(window, &bounds);
    AdjustWindowRect(&bounds, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                     GetMenu(window) != nullptr);
    SetWindowPos(window, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER);

    SetPropA(window, kOwnerProperty, this);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    SetWindowTextA(window, className);
    return 1;
}

int Application::OnClose(HWND window, WPARAM wParam, LPARAM lParam)
{
    DestroyWindow(window);
    return 0;
}
