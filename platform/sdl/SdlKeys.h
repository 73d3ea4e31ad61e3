#pragma once
// SDL's physical key positions as the virtual-key codes the game uses. The keypad keys are the
// keypad digits whatever NumLock says.

#include <SDL.h>

// 0 for a key the game has no code for.
int VirtualKeyFromScancode(SDL_Scancode code);
// Whether any key with this virtual-key code (either Shift for VK_SHIFT) is held now.
bool IsVirtualKeyHeld(int vk);
