#pragma once
// Every screen of the game is a Scene. Exactly one is current; the main loop calls its Tick
// whenever the message queue is empty, and the application forwards input to its hooks. A
// scene hands over from its Frame or an input hook: it creates and initialises its successor,
// makes it currentScene and sets finished; Tick presents that last frame and then deletes it.

#include <cstdint>

#include "platform/Platform.h"
#include "replay/Journal.h"

class GameApp;
class JoystickInfo;
class Surface;

class Scene {
public:
    Scene();
    virtual ~Scene();

    virtual void Init(GameApp* app, Surface* canvas, JoystickInfo* joystick);
    virtual void OnJoyButtonDown(UINT buttons) {}
    virtual void OnJoyButtonUp(UINT buttons) {}
    virtual void OnJoyMove(uint32_t position) {}  // x in the low 16 bits, y in the high
    virtual void OnKeyDown(int vk) {}
    // A key going down, auto-repeats left out; called before OnKeyDown.
    virtual void OnKeyPress(int vk) {}
    // The window lost the keyboard or was minimised.
    virtual void OnFocusLost() {}
    virtual void Frame() {}
    // Draws what the scene shows over the 640x480 picture as it is presented (hints,
    // assists), never into the game's own picture, so snapshots and checksums stay the game's.
    virtual void DrawOverShown(Surface& shown) {}
    // Draws the frame, presents it at once and, when the scene has handed over, deletes it.
    // Always returns 1.
    virtual int Tick();

    uint8_t finished = 0;
    uint32_t startTime = 0;
    GameApp* app = nullptr;
    Surface* canvas = nullptr;
    JoystickInfo* joystick = nullptr;

protected:
    // The menu-like screens read joystick 1 through messages: while captured, the window gets
    // a message whenever the stick moves past the threshold or a button changes (polled every
    // 33 ms).
    void CaptureJoystick();
    void ReleaseJoystick();

    // The hand-over: initialises the successor with this scene's app, canvas and joystick,
    // makes it current and marks this scene finished. Callers release what only they use
    // (joystick capture, music) before.
    void SwitchTo(Scene* successor);
};

extern Scene* currentScene;
// The scene that handed over and waits for the Tick that deletes it; a program that ends before
// that Tick deletes it itself.
extern Scene* leavingScene;

// The hand-over itself, for the scenes and for whoever starts a scene in place of another (the
// demo, the replay viewer).
void HandOver(Scene& from, Scene* successor);
