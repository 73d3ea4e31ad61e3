#include "NativeWindow.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include "WideText.h"

namespace {

constexpr wchar_t kClassName[] = L"KorimoShootingWindow";
constexpr DWORD kWindowedStyle = WS_OVERLAPPEDWINDOW;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        const intptr_t handled = self->Handle(message, wParam, lParam);
        if (handled >= 0)
            return handled;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Keys are read by their place on the keyboard: the keypad's keys are the keypad's whatever
// NumLock says, as on the other systems.
int PositionalKey(WPARAM wParam, LPARAM lParam)
{
    const bool extended = (lParam >> 24) & 1;
    const unsigned scancode = (lParam >> 16) & 0xFF;
    if (!extended) {
        static constexpr int keypad[] = {
            VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9, VK_SUBTRACT, VK_NUMPAD4, VK_NUMPAD5, VK_NUMPAD6,
            VK_ADD,     VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3,  VK_NUMPAD0, VK_DECIMAL};
        if (scancode >= 0x47 && scancode <= 0x53)
            return keypad[scancode - 0x47];
    }
    // Left and right shift, control and Alt as the one key the game knows each by.
    if (wParam == VK_LSHIFT || wParam == VK_RSHIFT)
        return VK_SHIFT;
    if (wParam == VK_LCONTROL || wParam == VK_RCONTROL)
        return VK_CONTROL;
    if (wParam == VK_LMENU || wParam == VK_RMENU)
        return VK_MENU;
    return static_cast<int>(wParam & 0xFF);
}

}  // namespace

bool NativeWindow::Open(const char* caption, int clientWidth, int clientHeight,
                        NativeWindowEvents& handler, std::string& error)
{
    events = &handler;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);  // a second window of the session finds it registered

    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, kWindowedStyle, FALSE, 0);
    HWND created = CreateWindowExW(0, kClassName, Wide(caption).c_str(), kWindowedStyle,
                                   CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                   frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (!created) {
        error = "cannot create a window (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    window = created;
    held.fill(false);
    return true;
}

void NativeWindow::Close()
{
    if (window)
        DestroyWindow(static_cast<HWND>(window));
    window = nullptr;
    fullScreen = false;
}

void NativeWindow::Show()
{
    ShowWindow(static_cast<HWND>(window), SW_SHOWNORMAL);
    UpdateWindow(static_cast<HWND>(window));
    SetForegroundWindow(static_cast<HWND>(window));
}

void NativeWindow::SetCaption(const char* caption)
{
    SetWindowTextW(static_cast<HWND>(window), Wide(caption).c_str());
}

void NativeWindow::SetClientSize(int width, int height)
{
    if (!window || fullScreen)
        return;
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, kWindowedStyle, FALSE, 0);
    SetWindowPos(static_cast<HWND>(window), nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeWindow::SetFullScreen(bool on)
{
    HWND handle = static_cast<HWND>(window);
    if (!handle || on == fullScreen)
        return;
    if (on) {
        RECT place;
        GetWindowRect(handle, &place);
        savedLeft = place.left;
        savedTop = place.top;
        savedWidth = place.right - place.left;
        savedHeight = place.bottom - place.top;
        savedStyle = GetWindowLongW(handle, GWL_STYLE);
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST), &monitor);
        SetWindowLongW(handle, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        SetWindowPos(handle, HWND_TOP, monitor.rcMonitor.left, monitor.rcMonitor.top,
                     monitor.rcMonitor.right - monitor.rcMonitor.left,
                     monitor.rcMonitor.bottom - monitor.rcMonitor.top, SWP_FRAMECHANGED);
    } else {
        SetWindowLongW(handle, GWL_STYLE, savedStyle);
        SetWindowPos(handle, nullptr, savedLeft, savedTop, savedWidth, savedHeight,
                     SWP_FRAMECHANGED | SWP_NOZORDER);
    }
    fullScreen = on;
    InvalidateRect(handle, nullptr, TRUE);
}

void NativeWindow::SetCursorVisible(bool visible)
{
    cursorVisible = visible;
    // Takes effect at once for a cursor over the window; WM_SETCURSOR keeps it so.
    SetCursor(visible ? LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)) : nullptr);
}

void NativeWindow::ClientSize(int& width, int& height) const
{
    RECT client = {};
    if (window)
        GetClientRect(static_cast<HWND>(window), &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

void NativeWindow::WorkArea(int& width, int& height) const
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(static_cast<HWND>(window), MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    width = monitor.rcWork.right - monitor.rcWork.left;
    height = monitor.rcWork.bottom - monitor.rcWork.top;
}

void NativeWindow::Present(const uint32_t* pixels, int width, int height, int targetX, int targetY,
                           int targetWidth, int targetHeight)
{
    HWND handle = static_cast<HWND>(window);
    if (!handle)
        return;
    HDC device = GetDC(handle);
    int clientWidth = 0;
    int clientHeight = 0;
    ClientSize(clientWidth, clientHeight);
    // Black around the picture only: painting the whole area first would flicker.
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bands[] = {{0, 0, clientWidth, targetY},
                          {0, targetY + targetHeight, clientWidth, clientHeight},
                          {0, targetY, targetX, targetY + targetHeight},
                          {targetX + targetWidth, targetY, clientWidth, targetY + targetHeight}};
    for (const RECT& band : bands)
        if (band.right > band.left && band.bottom > band.top)
            FillRect(device, &band, black);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: bottom-up, as the game's pixels are stored
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(device, COLORONCOLOR);  // whole factors: plain pixel copies
    StretchDIBits(device, targetX, targetY, targetWidth, targetHeight, 0, 0, width, height, pixels,
                  &info, DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(handle, device);
}

void NativeWindow::Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void NativeWindow::Wait(uint32_t milliseconds)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
}

void NativeWindow::ReportKey(bool down, uintptr_t wParam, intptr_t lParam)
{
    const int vk = PositionalKey(wParam, lParam);
    const bool alt = (lParam >> 29) & 1;
    const bool repeat = (lParam >> 30) & 1;
    if (vk <= 0 || vk >= 256)
        return;
    held[static_cast<size_t>(vk)] = down;
    if (down)
        events->KeyDown(vk, alt, repeat);
    else
        events->KeyUp(vk, alt);
}

intptr_t NativeWindow::Handle(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: ReportKey(true, wParam, lParam); return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP: ReportKey(false, wParam, lParam); return 0;
    // Alt and F10 alone would open the window menu and stop the game; the game has none.
    case WM_SYSCHAR:
    case WM_CHAR: return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU)
            return 0;
        return -1;
    case WM_CLOSE: events->CloseRequest(); return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(static_cast<HWND>(window), &paint);
        EndPaint(static_cast<HWND>(window), &paint);
        events->Expose();
        return 0;
    }
    case WM_ERASEBKGND: return 1;  // the next picture paints every pixel
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && !cursorVisible) {
            SetCursor(nullptr);
            return TRUE;
        }
        return -1;
    case WM_KILLFOCUS:
        held.fill(false);  // the key-ups go to the window that has the keyboard now
        events->FocusLost();
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED)
            events->FocusLost();
        return -1;
    default: return -1;
    }
}

uint32_t NativeMilliseconds()
{
    return timeGetTime();
}

void NativeSleep(uint32_t milliseconds)
{
    Sleep(milliseconds);
}

void BeginFineTimer()
{
    timeBeginPeriod(1);
}

void EndFineTimer()
{
    timeEndPeriod(1);
}

void ShowNativeError(const std::string& text)
{
    MessageBoxW(nullptr, Wide(text).c_str(), L"Korimo Shooting", MB_OK | MB_ICONERROR);
}
