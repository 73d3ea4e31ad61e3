#pragma once
// The entry function's two halves, start-up and shutdown, in their fixed order. The game's
// main runs them around the main loop; the test harness runs the same steps.

#include <functional>
#include <memory>

#include "platform/Platform.h"

class ClipPreloader;
class GameApp;
class Scene;

class Program {
public:
    Program();
    ~Program();

    // Seeds the generator, creates the main loop, reads the save record (saveFile null: a
    // zero record), creates the snapshots, selects the one-minute game, creates the first
    // scene, installs the idle handler, creates the GameApp and its window. False when the
    // window could not be created; the reason has been printed on standard error.
    bool Start(const std::function<Scene*()>& makeFirstScene, const char* saveFile,
               HINSTANCE instance, int showCommand);
    // Writes the save record back (unless saveFile is null), then deletes the snapshots, the
    // sound system, the GameApp, the current scene and the main loop.
    void Stop(const char* saveFile);

    GameApp* app = nullptr;
    // Decodes the clips from before the window opens until the sound system has taken them,
    // which for the music is after the first frames.
    std::unique_ptr<ClipPreloader> clips;
};

// The caption, "こりもしゅーてぃんぐ" in UTF-8: also the window class name.
extern const char* const kGameTitle;
