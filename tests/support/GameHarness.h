#pragma once
// Boots the whole program on the scripted platform the way the entry function does, but lets the
// test choose the first scene, the clock and the input (platform/scripted/Scripted.h), and run a
// given number of frames through the real main loop. Each harness is a fresh process as far as
// the game can tell: the save record is zero (or read from Options::saveFile), no snapshot has
// been taken, the spawner's generator is unseeded. One harness at a time.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "platform/scripted/Scripted.h"

class Scene;

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

    // Both valid while the window is open; the canvas is the 320x240 back buffer every scene
    // draws into.
    GameApp& App() { return *app; }
    Surface& Canvas() { return *app->backBuffer; }
    // The 640x480 picture of the last present, bottom row first.
    const std::vector<uint32_t>& Screen() const { return scripted::LastPresentedFrame(); }
    // A key press handled and drawn at the current clock.
    void Press(int vk)
    {
        scripted::PressKey(vk);
        RunFrames(1, 0);
    }
    // The pad held so for long enough that the capture reports it, then let go.
    void Pad(unsigned x, unsigned y, unsigned buttons = 0)
    {
        scripted::SetJoystick(x, y, buttons);
        RunFrames(3);
        scripted::SetJoystick(32768, 32768, 0);
        RunFrames(3);
    }
    // Whether the text stands on the canvas at (x, row) in text coordinates: every pixel that
    // TextOutA inks on a blank picture is of the same colour on the canvas.
    bool TextAt(int x, int row, const std::string& text, COLORREF colour = 0xFFFFFF);
    // The shown picture's pixels in rows top to bottom (counted from its top) that are not the
    // canvas doubled, each as row << 16 | x: what is drawn over the game's picture.
    std::vector<uint32_t> DrawnOver(int top, int bottom);

private:
    static int IdlePass();

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
