// Painting: a window whose picture is out of date is "invalid" until its paint handler has
// run; EndPaint puts the client-area picture on the screen.

#include "platform/Backend.h"
#include "platform/Windowing.h"

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase)
{
    // The whole picture is presented every time, so any rectangle invalidates all of it.
    Window* window = platform::LiveWindow(handle);
    if (!window)
        return FALSE;
    window->invalid = true;
    return TRUE;
}

BOOL UpdateWindow(HWND handle)
{
    Window* window = platform::LiveWindow(handle);
    if (!window)
        return FALSE;
    if (window->invalid)
        SendMessageA(handle, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL ValidateRect(HWND handle, const RECT* rect)
{
    // As with InvalidateRect, any rectangle stands for the whole picture.
    Window* window = platform::LiveWindow(handle);
    if (!window)
        return FALSE;
    window->invalid = false;
    return TRUE;
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint)
{
    Window* window = platform::LiveWindow(handle);
    if (!window || !paint)
        return nullptr;
    window->invalid = false;
    paint->hdc = GetDC(handle);
    paint->fErase = FALSE;
    paint->rcPaint = {0, 0, window->frame.width, window->frame.height};
    return paint->hdc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint)
{
    Window* window = platform::LiveWindow(handle);
    if (!window || !paint)
        return FALSE;
    if (window->visible)
        platform::CurrentBackend().Present(window->frame);
    ReleaseDC(handle, paint->hdc);
    return TRUE;
}
