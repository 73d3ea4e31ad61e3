#pragma once
// After a run that lasted its full time: the staff roll's first screen sweeps in, the score
// ranking of the current game length shows over the first snapshot, then the staff roll
// scrolls over the cycling snapshots with the ending music, and "Fin." closes on black.

#include <cstdint>

#include "scenes/Scene.h"

class EndingScene : public Scene {
public:
    enum State : int32_t {
        kLeaving = -1,
        kWipeIn = 0,
        kRanking = 1,
        kStaffRoll = 2,
        kClosing = 3,
    };

    ~EndingScene() override;

    void Init(GameApp* app, Surface* canvas, JoystickInfo* joystick) override;
    void OnJoyButtonDown(UINT buttons) override;
    void OnKeyDown(int vk) override;
    void Frame() override;
    // What became of the run on the board, if it went to one.
    void DrawOverShown(Surface& shown) override;

    int32_t runScore = 0;  // the score of the run that just ended, set by the game scene
    int32_t state = kWipeIn;
    uint32_t stateTime = 0;  // when the phase began; in the roll, the time of the last step
    uint32_t scrollY = 0;    // top row of the roll on screen, counted from the picture's top
    Surface* staffRollImage = nullptr;
    Surface* blackImage = nullptr;

private:
    void DrawWipeIn(uint32_t now);
    void DrawRanking(uint32_t now);
    void DrawStaffRoll(uint32_t now);
    void DrawClosing();
    void LeaveForTitle();
};
