#pragma once
// The Windows backend of the platform layer: a Win32 window presented with GDI, the multimedia
// timer, XInput or winmm for the joystick, and DirectSound. This header includes nothing of
// Windows, so the entry function can install the backend without seeing it.

#include <string>

namespace win32 {

// Makes Windows' own services the platform; without sound the null device stands in for
// DirectSound and no audio device opens.
void Install(bool sound = true);
// The Windows version the game runs on, for --version.
std::string VersionText();
void Uninstall();
// Shows an error line in a message box when standard error reaches no one (a program started
// from the desktop has no console to print it on).
void ShowError(const std::string& line);
// Joins the console of the program that started this one (a command prompt), so that --help
// and --version print there; output sent to a pipe or a file stays there. False when there is
// none.
bool UseParentConsole();

}  // namespace win32
