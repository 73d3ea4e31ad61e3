// The message queue and the default window procedure.
//
// A message is taken in the platform's order: posted messages first, then the quit request,
// then a paint message while a window's picture is out of date. So a quit posted by a destroy
// handler is seen before anything would ask for another frame.

#include <algorithm>
#include <deque>

#include "platform/Backend.h"
#include "platform/Windowing.h"

namespace {

std::deque<MSG> queue;
bool quitRequested = false;
int quitCode = 0;

// The longest a wait for messages sleeps; whoever waits simply looks again after it.
constexpr uint32_t kLongestWait = 500;

bool Matches(const MSG& message, HWND window, UINT first, UINT last)
{
    if (window && message.hwnd != window)
        return false;
    if (first == 0 && last == 0)
        return true;
    return message.message >= first && message.message <= last;
}

uint32_t WaitBound()
{
    return std::min(kLongestWait, platform::JoystickPollDelay());
}

bool InRange(UINT message, UINT first, UINT last)
{
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

}  // namespace

namespace platform {

void ResetMessages()
{
    queue.clear();
    quitRequested = false;
    quitCode = 0;
}

void DropMessagesFor(HWND window)
{
    std::erase_if(queue, [window](const MSG& message) { return message.hwnd == window; });
}

}  // namespace platform

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window && !platform::LiveWindow(window))
        return FALSE;
    queue.push_back({window, message, wParam, lParam, timeGetTime()});
    return TRUE;
}

void PostQuitMessage(int exitCode)
{
    quitRequested = true;
    quitCode = exitCode;
}

LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = platform::LiveWindow(handle);
    if (!window)
        return 0;
    return window->procedure(handle, message, wParam, lParam);
}

BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove)
{
    platform::CurrentBackend().PumpEvents();
    platform::PollJoystickCapture();

    auto found = std::find_if(queue.begin(), queue.end(), [&](const MSG& queued) {
        return Matches(queued, window, first, last);
    });
    if (found != queue.end()) {
        *message = *found;
        if (remove & PM_REMOVE)
            queue.erase(found);
        return TRUE;
    }
    if (quitRequested && InRange(WM_QUIT, first, last)) {
        *message = {nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0, timeGetTime()};
        if (remove & PM_REMOVE)
            quitRequested = false;
        return TRUE;
    }
    HWND owner = platform::NativeWindowOwner();
    Window* live = platform::LiveWindow(owner);
    if (live && live->invalid && (!window || window == owner) && InRange(WM_PAINT, first, last)) {
        // Stays until the paint handler has validated the window.
        *message = {owner, WM_PAINT, 0, 0, timeGetTime()};
        return TRUE;
    }
    return FALSE;
}

BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last)
{
    while (!PeekMessageA(message, window, first, last, PM_REMOVE)) {
        if (!platform::CurrentBackend().WaitForEvents(WaitBound())) {
            platform::SetPlatformError("waiting for a message that can never arrive");
            return -1;
        }
    }
    return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WaitMessage()
{
    platform::CurrentBackend().WaitForEvents(WaitBound());
    return TRUE;
}

BOOL TranslateMessage(const MSG* message)
{
    // Character messages are made from key messages here; the game reads no text, so none
    // are made and the key messages go on as they are.
    return FALSE;
}

LRESULT DispatchMessageA(const MSG* message)
{
    if (!message || !message->hwnd)
        return 0;
    return SendMessageA(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    constexpr LPARAM kAltHeld = 1 << 29;
    switch (message) {
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 closes on every window manager, whether or not it handles the key itself.
        if (wParam == VK_F4 && (lParam & kAltHeld))
            SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_PAINT: {
        // Shows the picture as it stands, so that an unhandled paint does not come back.
        PAINTSTRUCT paint;
        if (BeginPaint(window, &paint))
            EndPaint(window, &paint);
        return 0;
    }
    default: return 0;
    }
}
