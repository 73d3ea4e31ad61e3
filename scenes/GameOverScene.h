#pragma once
// Shown when the heroine is hit: the game-over picture sweeps in over the last game picture,
// stays until a press, then fades to black and gives way to the title.

#include <cstdint>

#include "scenes/Scene.h"

class GameOverScene : public Scene {
public:
    enum State : int32_t {
        kLeaving = -1,
        kReveal = 0,
        kHold = 1,
        kFading = 2,  // and above: presses during the fade raise the number
    };

    ~GameOverScene() override;

    void Init(GameApp* app, Surface* canvas, JoystickInfo* joystick) override;
    void OnJoyButtonDown(UINT buttons) override;
    void OnKeyDown(int vk) override;
    void Frame() override;
    // What became of the run on the board, if it went to one.
    void DrawOverShown(Surface& shown) override;

    int32_t state = kReveal;
    uint32_t stateTime = 0;
    Surface* gameOverImage = nullptr;
    Surface* blackImage = nullptr;

private:
    void Advance();
    void LeaveForTitle();
};
