#include "app/MainLoop.h"

#include "app/Demo.h"
#include "app/ReplaySession.h"
#include "app/Replays.h"
#include "gfx/Surface.h"
#include "platform/Platform.h"
#include "replay/Journal.h"
#include "scenes/Scene.h"

MainLoop* theMainLoop = nullptr;

MainLoop::MainLoop()
{
    theMainLoop = this;
}

MainLoop::~MainLoop()
{
    theMainLoop = nullptr;
}

int MainLoop::OnIdle(int count)
{
    return idleHandler ? idleHandler() : 1;
}

int MainLoop::Run()
{
    for (;;) {
        // Every dispatched message renews the idle state, so frames resume after it.
        bool idle = true;
        int idleCount = 0;
        MSG message;
        while (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (idle) {
                if (!OnIdle(idleCount++))
                    idle = false;
            } else {
                WaitMessage();
            }
        }
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got < 0)
            return -1;  // the platform can no longer deliver messages; PlatformError says why
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool MainLoop::RunOnce(int& exitCode)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            exitCode = static_cast<int>(message.wParam);
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    OnIdle(0);
    return true;
}

// The journal sees every frame begin and end, with the picture it left in the back buffer, and
// says whether anybody will look at that picture at all.
int PlaySceneFrame()
{
    EndDemoWhenDone();
    if (!currentScene)
        return 1;
    Surface* canvas = currentScene->canvas;
    journal::BeginFrame();
    if (canvas)
        canvas->drawingSkipped = !journal::PictureUsed();
    const int result = currentScene->Tick();
    if (canvas) {
        canvas->drawingSkipped = false;
        journal::EndFrame(canvas->pixels, size_t(canvas->width) * canvas->height);
    }
    // After the save file, which the run's last frame wrote.
    KeepFinishedRun();
    return result;
}

int RunSceneFrame()
{
    return WatchingInGame() ? WatchedFrame() : PlaySceneFrame();
}
