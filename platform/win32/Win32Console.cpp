// What a GUI program needs to talk to a player: the console it was started from, if any, the
// Windows version, and message boxes for errors.

#include <windows.h>

#include <cstdio>

#include "NativeWindow.h"
#include "Win32.h"

namespace win32 {

std::string VersionText()
{
    // GetVersionEx reports what the program's manifest allows; the kernel's own numbers are
    // the true ones.
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    const auto get = reinterpret_cast<GetVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (!get || get(&version) != 0)
        return "Windows";
    return "Windows " + std::to_string(version.dwMajorVersion) + "." +
           std::to_string(version.dwMinorVersion) + " build " +
           std::to_string(version.dwBuildNumber);
}

void ShowError(const std::string& line)
{
    ShowNativeError(line);
}

bool UseParentConsole()
{
    // Output already redirected (a pipe or a file) goes where it was sent.
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN)
        return true;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return false;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    return true;
}

}  // namespace win32
