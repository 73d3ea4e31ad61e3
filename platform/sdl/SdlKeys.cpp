#include "platform/sdl/SdlKeys.h"

#include "platform/Platform.h"

namespace {

bool InRange(SDL_Scancode code, SDL_Scancode first, SDL_Scancode last)
{
    return code >= first && code <= last;
}

}  // namespace

int VirtualKeyFromScancode(SDL_Scancode code)
{
    // Each of these runs is contiguous both in SDL's numbering and in the virtual-key codes.
    if (InRange(code, SDL_SCANCODE_A, SDL_SCANCODE_Z))
        return 'A' + (code - SDL_SCANCODE_A);
    if (InRange(code, SDL_SCANCODE_1, SDL_SCANCODE_9))
        return '1' + (code - SDL_SCANCODE_1);
    if (InRange(code, SDL_SCANCODE_F1, SDL_SCANCODE_F12))
        return VK_F1 + (code - SDL_SCANCODE_F1);
    if (InRange(code, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9))
        return VK_NUMPAD1 + (code - SDL_SCANCODE_KP_1);

    switch (code) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return VK_SHIFT;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return VK_CONTROL;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return VK_MENU;
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    default: return 0;
    }
}

bool IsVirtualKeyHeld(int vk)
{
    int count = 0;
    const Uint8* held = SDL_GetKeyboardState(&count);
    for (int code = 0; code < count; ++code) {
        if (held[code] && VirtualKeyFromScancode(static_cast<SDL_Scancode>(code)) == vk)
            return true;
    }
    return false;
}
