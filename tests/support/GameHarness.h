#pragma once
// Boots the whole program on the scripted platform the way the entry function does (generator
// seeded from the clock, main loop, save record, snapshots, first scene, GameApp, window, and
// inside the window's creation: tables, back buffer and font, sound system, the nine clips and
// the first scene's Init), but lets the test choose the first scene, the clock and the input,
// and run a given number of frames through the real main loop.
//
// Input goes through platform/scripted/Scripted.h directly: scripted::PressKey (a key-down
// message for the scene's hook, plus the "pressed" latch), scripted::HoldKey / ReleaseKey (what
// polling with GetAsyncKeyState sees), scripted::AttachJoystick / SetJoystick (set
// Options::joystick to have the GameApp find the joystick at start-up). Sounds:
// scripted::SoundEvents(). Scene switches: currentScene (scenes/Scene.h) after a frame.
//
// Each GameHarness is a fresh process as far as the game can tell: the save record is zero (or
// read from Options::saveFile), no snapshot has been taken, the spawner's generator is unseeded.
// One harness at a time.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/scripted/Scripted.h"

class GameApp;
class Scene;
class Surface;

class GameHarness {
public:
    struct Options {
        // The scripted clock at start-up; the generator is seeded from it, so two harnesses with
        // the same start clock and the same input produce the same frames.
        uint32_t startClock = 1000;
        // Attaches the scripted joystick (centred, no button) before the GameApp queries it.
        bool joystick = false;
        // Read at start-up and written back at shutdown, as the game does with "korimo.sav".
        // Null: the record starts at zero and nothing is written.
        const char* saveFile = nullptr;
    };

    // Installs a fresh scripted platform with the clock at options.startClock.
    GameHarness();
    explicit GameHarness(const Options& options);
    // Closes the window if it is still open and shuts down in the entry function's order.
    ~GameHarness();

    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    // Start-up as the entry function does it, with the scene that makeFirstScene creates (at the
    // point where the game creates its TitleScene) as the first scene. False when the window
    // could not be created (scripted::FailWindowCreation, or a clip that failed to load).
    bool Boot(const std::function<Scene*()>& makeFirstScene);

    // Runs the main loop for count frames. Before each frame the clock advances by
    // millisecondsPerFrame; messages already queued are dispatched before the first frame and
    // messages queued by the frames between them, exactly as in play. Returns how many frames
    // ran: fewer than count when the window was closed.
    int RunFrames(int count, uint32_t millisecondsPerFrame = 17);

    // Sends the close box's message and runs the loop until it ends; no frame runs. Returns the
    // loop's exit code.
    int Close();
    // True once the loop has seen the quit message (the window is gone).
    bool Closed() const { return closed; }
    int ExitCode() const { return exitCode; }

    // Both valid while the window is open.
    GameApp& App();
    // The 320x240 back buffer every scene draws into.
    Surface& Canvas();
    // The 640x480 picture of the last present, bottom row first (scripted::LastPresentedFrame).
    const std::vector<uint32_t>& Screen() const;
    int FramesRun() const { return framesRun; }

private:
    static int IdlePass();
    void ShutDown();

    Options options;
    GameApp* app = nullptr;
    bool booted = false;
    bool started = false;
    bool closed = false;
    int exitCode = 0;
    int framesRun = 0;
    int framesLeft = 0;
    uint32_t frameStep = 17;
};
