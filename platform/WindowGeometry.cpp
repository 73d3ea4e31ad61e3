// The window's style, caption, position and size, full screen and the cursor.
//
// Full screen never changes the display mode: a window whose style becomes WS_POPUP covers
// the desktop and the backend scales its picture, so the window keeps its 640x480 client area
// in both modes.

#include "platform/Backend.h"
#include "platform/Windowing.h"

namespace {

// The cursor shows while this count is zero or more, as on the platform the game was made for.
int cursorCount = 0;

void SetClientSize(Window& window, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    window.rect.right = window.rect.left + width;
    window.rect.bottom = window.rect.top + height;
    if (width == window.frame.width && height == window.frame.height)
        return;
    window.frame.width = width;
    window.frame.height = height;
    window.frame.storage.assign(static_cast<size_t>(width) * height, 0);
    window.frame.pixels = window.frame.storage.data();
    platform::CurrentBackend().ResizeWindow(width, height);
    window.invalid = true;
}

void MoveTo(Window& window, int x, int y)
{
    const int width = window.rect.right - window.rect.left;
    const int height = window.rect.bottom - window.rect.top;
    window.rect = {x, y, x + width, y + height};
}

}  // namespace

namespace platform {

void ResetCursor()
{
    cursorCount = 0;
}

}  // namespace platform

BOOL ShowWindow(HWND handle, int command)
{
    Window* window = platform::LiveWindow(handle);
    if (!window)
        return FALSE;
    const bool wasVisible = window->visible;
    window->visible = true;
    window->invalid = true;
    platform::CurrentBackend().ShowWindow();
    return wasVisible ? TRUE : FALSE;
}

BOOL SetWindowTextA(HWND handle, const char* text)
{
    Window* window = platform::LiveWindow(handle);
    if (!window)
        return FALSE;
    window->caption = text ? text : "";
    platform::CurrentBackend().SetCaption(window->caption.c_str());
    return TRUE;
}

LONG GetWindowLongA(HWND handle, int index)
{
    Window* window = platform::LiveWindow(handle);
    if (!window)
        return 0;
    switch (index) {
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_HINSTANCE:
        // Only the low 32 bits of the handle fit, as the 32-bit call has always returned them.
        return static_cast<LONG>(reinterpret_cast<uintptr_t>(window->instance));
    default: return 0;
    }
}

LONG SetWindowLongA(HWND handle, int index, LONG value)
{
    Window* window = platform::LiveWindow(handle);
    if (!window || index != GWL_STYLE)
        return 0;
    const DWORD previous = window->style;
    window->style = static_cast<DWORD>(value);
    const bool wasPopup = previous & WS_POPUP;
    const bool isPopup = window->style & WS_POPUP;
    if (wasPopup != isPopup) {
        platform::CurrentBackend().SetFullScreen(isPopup);
        window->invalid = true;
    }
    return static_cast<LONG>(previous);
}

BOOL GetWindowRect(HWND handle, RECT* rect)
{
    Window* window = platform::LiveWindow(handle);
    if (!window || !rect)
        return FALSE;
    *rect = window->rect;
    return TRUE;
}

BOOL GetClientRect(HWND handle, RECT* rect)
{
    Window* window = platform::LiveWindow(handle);
    if (!window || !rect)
        return FALSE;
    *rect = {0, 0, window->frame.width, window->frame.height};
    return TRUE;
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL hasMenu)
{
    // The decorations lie outside the window's rectangle: nothing to add.
    return rect ? TRUE : FALSE;
}

void* GetMenu(HWND window)
{
    return nullptr;
}

BOOL SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    Window* window = platform::LiveWindow(handle);
    if (!window)
        return FALSE;
    if (!(flags & SWP_NOMOVE))
        MoveTo(*window, x, y);
    SetClientSize(*window, width, height);
    return TRUE;
}

BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint)
{
    Window* window = platform::LiveWindow(handle);
    if (!window)
        return FALSE;
    MoveTo(*window, x, y);
    SetClientSize(*window, width, height);
    if (repaint)
        window->invalid = true;
    return TRUE;
}

int ShowCursor(BOOL show)
{
    cursorCount += show ? 1 : -1;
    platform::CurrentBackend().SetCursorVisible(cursorCount >= 0);
    return cursorCount;
}

int GetWindowScale(HWND handle)
{
    return platform::LiveWindow(handle) ? platform::CurrentBackend().WindowScale() : 0;
}

BOOL SetWindowScale(HWND handle, int scale)
{
    Window* window = platform::LiveWindow(handle);
    if (!window || scale < 1 || scale > platform::CurrentBackend().LargestWindowScale())
        return FALSE;
    platform::CurrentBackend().SetWindowScale(scale);
    window->invalid = true;
    return TRUE;
}

int GetLargestWindowScale(HWND handle)
{
    return platform::LiveWindow(handle) ? platform::CurrentBackend().LargestWindowScale() : 0;
}
