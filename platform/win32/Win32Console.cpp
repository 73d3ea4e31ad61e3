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

namespace {

// Whether standard error reaches someone: a console, a pipe or a file.
bool errorsAreSeen = false;

}  // namespace

void ShowError(const std::string& line)
{
    // A box would wait for a click that a script or a console user has no reason to give.
    if (!errorsAreSeen)
        ShowNativeError(line);
}

bool UseParentConsole()
{
    // Output already redirected (a pipe or a file) goes where it was sent.
    if (GetFileType(GetStdHandle(STD_ERROR_HANDLE)) != FILE_TYPE_UNKNOWN) {
        errorsAreSeen = true;
        return true;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return false;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    errorsAreSeen = true;
    return true;
}

}  // namespace win32
