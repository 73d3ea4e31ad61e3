// Keys: the messages a key makes, and polling with GetAsyncKeyState.

#include <array>

#include "platform/Backend.h"
#include "platform/Windowing.h"

namespace {

// Set by every key-down (auto-repeats too), cleared by the next query of that key: a press
// between two polls is never missed.
std::array<bool, 256> pressedSinceQuery = {};

constexpr LPARAM kAltHeld = LPARAM(1) << 29;
constexpr LPARAM kWasDown = LPARAM(1) << 30;
constexpr LPARAM kReleased = LPARAM(1) << 31;

bool IsSystemKey(int vk, bool alt)
{
    // With Alt held every key is a system key; Alt itself and F10 are on their own too.
    return alt || vk == VK_MENU || vk == VK_F10;
}

bool IsValidKey(int vk)
{
    return vk > 0 && vk < static_cast<int>(pressedSinceQuery.size());
}

}  // namespace

namespace platform {

void ResetKeys()
{
    pressedSinceQuery.fill(false);
}

void OnKeyDown(int vk, bool alt, bool repeat)
{
    if (!IsValidKey(vk))
        return;
    pressedSinceQuery[vk] = true;
    const LPARAM lParam = 1 | (alt ? kAltHeld : 0) | (repeat ? kWasDown : 0);
    PostMessageA(NativeWindowOwner(), IsSystemKey(vk, alt) ? WM_SYSKEYDOWN : WM_KEYDOWN,
                 static_cast<WPARAM>(vk), lParam);
}

void OnKeyUp(int vk, bool alt)
{
    if (!IsValidKey(vk))
        return;
    const LPARAM lParam = 1 | (alt ? kAltHeld : 0) | kWasDown | kReleased;
    PostMessageA(NativeWindowOwner(), IsSystemKey(vk, alt) ? WM_SYSKEYUP : WM_KEYUP,
                 static_cast<WPARAM>(vk), lParam);
}

}  // namespace platform

int16_t GetAsyncKeyState(int vk)
{
    if (!IsValidKey(vk))
        return 0;
    const bool held = platform::CurrentBackend().IsKeyHeld(vk);
    const bool pressed = pressedSinceQuery[vk];
    pressedSinceQuery[vk] = false;
    return static_cast<int16_t>((held ? 0x8000 : 0) | (pressed ? 1 : 0));
}
