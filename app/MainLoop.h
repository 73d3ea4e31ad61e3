#pragma once
// The one loop of the program: dispatches every waiting window message and, whenever the
// queue is empty, calls the idle handler, which runs a frame of the current scene.

class MainLoop {
public:
    MainLoop();           // becomes theMainLoop
    virtual ~MainLoop();  // theMainLoop is null again

    // Called with the number of earlier idle calls since the last dispatched message. Returns
    // the idle handler's result (1 without a handler): non-zero asks to be called again while
    // the queue stays empty, zero lets the loop sleep until a message arrives.
    virtual int OnIdle(int count);
    // Runs until the quit message and returns its exit code.
    virtual int Run();
    // One turn of the loop for a host that cannot block and calls it once a frame (a web
    // page): every waiting message dispatched, then one idle call. False once the quit
    // message has come, with its exit code in exitCode; no idle call follows it.
    bool RunOnce(int& exitCode);

    int (*idleHandler)() = nullptr;
};

extern MainLoop* theMainLoop;

// The idle handler of the game: one frame of whichever scene is current at that moment, or,
// while a replay is watched in the game, the viewer's frame, which may hold the run still.
int RunSceneFrame();
// One frame of the current scene, whoever watches it.
int PlaySceneFrame();
