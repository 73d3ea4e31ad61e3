#include "app/MainLoop.h"

#include "platform/Platform.h"
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

int RunSceneFrame()
{
    return currentScene ? currentScene->Tick() : 1;
}
