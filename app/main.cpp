// The entry function: the program-wide objects are built in a fixed order, the window opened,
// the message loop run until the window is gone, and everything released in a fixed order.

#include <cstdio>

#include "app/MainLoop.h"
#include "app/Program.h"
#include "app/SaveRecord.h"
#include "app/Settings.h"
#include "archive/ResourceArchive.h"
#include "platform/sdl/Sdl.h"
#include "scenes/TitleScene.h"

int main()
{
    // Every picture and sound comes from the archive, so nothing can run without it.
    if (!resourceArchive.error().empty()) {
        std::fprintf(stderr, "korimo: %s\n", resourceArchive.error().c_str());
        return 1;
    }

    // The settings live beside the save file.
    SettingsFile settingsFile(".");
    settingsFile.Load(settings);

    sdl::Install();
    Program program;
    const bool started =
        program.Start([] { return new TitleScene; }, kSaveFileName, nullptr, SW_SHOWNORMAL);
    // A start that failed writes nothing back: the scores on disk stay as they were.
    const int exitCode = started ? theMainLoop->Run() : 1;
    program.Stop(started ? kSaveFileName : nullptr);
    if (started)
        settingsFile.Save(settings);
    sdl::Uninstall();
    return exitCode;
}
