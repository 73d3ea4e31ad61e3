#pragma once
// The SDL2 backend of the platform layer, for the game itself. This header does not include
// SDL, so the entry function can install the backend without seeing it.

#include <string>

namespace sdl {

// Makes SDL the platform: the clock, the keyboard and the first joystick at once; the display
// when the window is opened, the audio device when the sound system opens it. Without sound,
// the null device stands in for SDL's: the game plays in silence and no audio device opens.
void Install(bool sound = true);
// "SDL x.y.z", the version of the library the game runs with.
std::string VersionText();
// Closes the joystick and SDL; the window and the sound device are gone by then.
void Uninstall();

}  // namespace sdl
