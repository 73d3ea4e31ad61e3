#include "app/Program.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/GameApp.h"
#include "app/Globals.h"
#include "app/MainLoop.h"
#include "app/Replays.h"
#include "app/SaveRecord.h"
#include "archive/ResourceArchive.h"
#include "gfx/Surface.h"
#include "platform/Files.h"
#include "random/Random.h"
#include "replay/Journal.h"
#include "scenes/Scene.h"
#include "sound/ClipPreloader.h"
#include "sound/SoundSystem.h"

const char* const kGameTitle = "こりもしゅーてぃんぐ";

Program::Program() = default;
Program::~Program() = default;

bool Program::Start(const std::function<Scene*()>& makeFirstScene, const char* saveFile,
                    HINSTANCE instance, int showCommand)
{
    // A session starts live; whether its runs are recorded stays as the caller chose.
    journal::Reset();
    theRandom.Seed(timeGetTime());
    new MainLoop;  // it is theMainLoop from now on; Stop deletes it

    std::memset(&saveRecord, 0, sizeof saveRecord);
    if (saveFile)
        saveRecord.Load(MappedFile(saveFile).bytes());
    for (Surface*& snapshot : snapshots)
        snapshot = new Surface(kCanvasWidth, kCanvasHeight);
    // The game length chosen last time is not kept: every start offers the one-minute game.
    saveRecord.gameMode = 0;

    // The first scene exists before the window, whose creation initialises it.
    currentScene = makeFirstScene();
    theMainLoop->idleHandler = RunSceneFrame;
    app = new GameApp;
    // The clips decode on two threads while the window opens; its creation then loads them.
    clips = std::make_unique<ClipPreloader>(resourceArchive, kClipNames);
    if (!app->CreateMainWindow(instance, kGameTitle, kWindowWidth, kWindowHeight, showCommand,
                               kWindowedStyle, nullptr)) {
        // Empty when the window's creation handler refused and has said why itself.
        if (*PlatformError()) {
            const std::string line = std::string("cannot open the window: ") + PlatformError();
            std::fprintf(stderr, "korimo: %s\n", line.c_str());
            MessageBoxA(nullptr, line.c_str(), kGameTitle, MB_OK | MB_ICONERROR);
        }
        return false;
    }
    app->ApplySettings();
    return true;
}

void Program::Stop(const char* saveFile)
{
    FinishKeepingReplays();
    if (saveFile && !saveRecord.Save(saveFile))
        std::fprintf(stderr, "korimo: could not write %s; the scores of this session are lost\n",
                     saveFile);
    for (Surface*& snapshot : snapshots) {
        delete snapshot;
        snapshot = nullptr;
    }
    delete soundSystem;
    soundSystem = nullptr;
    clips.reset();
    // The scene goes before the application it was given: its end may still tell the
    // application something (the options screen stops the typing it asked for).
    delete leavingScene;
    leavingScene = nullptr;
    delete currentScene;
    currentScene = nullptr;
    delete app;
    app = nullptr;
    delete theMainLoop;
}
