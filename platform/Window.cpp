// Window classes, the one window's creation and destruction, its properties and its picture.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Windowing.h"

namespace {

struct WindowClass {
    std::string name;
    WNDPROC procedure;
    HINSTANCE instance;
};

std::vector<WindowClass> classes;
// The game has one window; so has the native side. A second one is refused.
Window* theWindow = nullptr;
std::string lastError;

// Stand-ins for the icon, cursor and brush handles that a window class names: the window
// manager chooses all three, so they only need to be distinct and not null.
const char applicationIcon = 0;
const char arrowCursor = 0;
const char whiteBrush = 0;

std::vector<WindowClass>::iterator FindClass(const char* name)
{
    return std::find_if(classes.begin(), classes.end(),
                        [name](const WindowClass& c) { return name && c.name == name; });
}

void ForgetWindow(Window* window)
{
    platform::DropMessagesFor(window);
    theWindow = nullptr;
    platform::CurrentBackend().CloseWindow();
    delete window;
}

}  // namespace

namespace platform {

Window* LiveWindow(HWND handle)
{
    return handle && handle == theWindow ? theWindow : nullptr;
}

HWND NativeWindowOwner()
{
    return theWindow;
}

void SetPlatformError(const std::string& text)
{
    lastError = text;
}

void ResetWindows()
{
    // The application that owned a window left open is gone by now: no messages are sent.
    if (theWindow)
        ForgetWindow(theWindow);
    classes.clear();
    lastError.clear();
}

}  // namespace platform

const char* PlatformError()
{
    return lastError.c_str();
}

DibSection* WindowFrame(HWND handle)
{
    Window* window = platform::LiveWindow(handle);
    return window ? &window->frame : nullptr;
}

BOOL RegisterClassA(const WNDCLASSA* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc)
        return FALSE;
    if (FindClass(windowClass->lpszClassName) != classes.end())
        return FALSE;
    classes.push_back(
        {windowClass->lpszClassName, windowClass->lpfnWndProc, windowClass->hInstance});
    return TRUE;
}

BOOL UnregisterClassA(const char* className, HINSTANCE instance)
{
    auto found = FindClass(className);
    if (found == classes.end())
        return FALSE;
    if (theWindow && theWindow->className == className)
        return FALSE;  // still in use
    classes.erase(found);
    return TRUE;
}

const void* LoadIconA(HINSTANCE instance, const char* name)
{
    return &applicationIcon;
}

const void* LoadCursorA(HINSTANCE instance, const char* name)
{
    return &arrowCursor;
}

const void* GetStockObject(int object)
{
    return &whiteBrush;
}

HWND CreateWindowExA(DWORD exStyle, const char* className, const char* caption, DWORD style, int x,
                     int y, int width, int height, HWND parent, void* menu, HINSTANCE instance,
                     void* param)
{
    auto windowClass = FindClass(className);
    if (windowClass == classes.end()) {
        platform::SetPlatformError(std::string("no window class named \"") +
                                   (className ? className : "") + "\"");
        return nullptr;
    }
    if (theWindow) {
        platform::SetPlatformError("a window is already open");
        return nullptr;
    }
    if (width == CW_USEDEFAULT || width <= 0)
        width = 640;
    if (height == CW_USEDEFAULT || height <= 0)
        height = 480;

    std::string error;
    if (!platform::CurrentBackend().OpenWindow(caption ? caption : "", width, height, error)) {
        platform::SetPlatformError(error);
        return nullptr;
    }

    auto* window = new Window;
    window->className = className;
    window->caption = caption ? caption : "";
    window->procedure = windowClass->procedure;
    window->instance = instance;
    window->style = style;
    window->rect = {x == CW_USEDEFAULT ? 0 : x, y == CW_USEDEFAULT ? 0 : y, 0, 0};
    window->rect.right = window->rect.left + width;
    window->rect.bottom = window->rect.top + height;
    window->frame.width = width;
    window->frame.height = height;
    window->frame.storage.assign(static_cast<size_t>(width) * height, 0);
    window->frame.pixels = window->frame.storage.data();
    theWindow = window;

    if (SendMessageA(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(param)) == -1) {
        DestroyWindow(window);
        // The creation handler that refused has said why itself.
        platform::SetPlatformError("");
        return nullptr;
    }
    return window;
}

BOOL DestroyWindow(HWND handle)
{
    Window* window = platform::LiveWindow(handle);
    if (!window || window->destroying)
        return FALSE;
    window->destroying = true;
    SendMessageA(handle, WM_DESTROY, 0, 0);
    ForgetWindow(window);
    return TRUE;
}

BOOL SetPropA(HWND handle, const char* name, void* value)
{
    Window* window = platform::LiveWindow(handle);
    if (!window || !name)
        return FALSE;
    for (auto& property : window->properties) {
        if (property.first == name) {
            property.second = value;
            return TRUE;
        }
    }
    window->properties.emplace_back(name, value);
    return TRUE;
}

void* GetPropA(HWND handle, const char* name)
{
    Window* window = platform::LiveWindow(handle);
    if (!window || !name)
        return nullptr;
    for (const auto& property : window->properties) {
        if (property.first == name)
            return property.second;
    }
    return nullptr;
}
