#pragma once
// The browser's physical key positions (KeyboardEvent.code) as the virtual-key codes the game
// uses: the same keys as on the desktop, whatever the keyboard's layout.

// 0 for a key the game has no code for.
int VirtualKeyFromCode(const char* code);
