#pragma once
// The first screen and the one every run returns to: the logo turns into place, the opening
// picture fades in over it, then a two-entry menu chooses the game length. Confirming fades
// to black and starts a game; O or the pad's spare button opens the options, R or the pad's
// slow button the replays. A menu left alone for 20 s plays a demo.

#include <cstdint>

#include "scenes/Scene.h"

class TitleScene : public Scene {
public:
    enum State : int32_t {
        kLeaving = -1,
        kLogo = 0,
        kMenu = 1,
        kFading = 2,  // and above: every press during the fade raises the number
    };

    // The options and replays screens come back straight to the menu.
    explicit TitleScene(State first = kLogo) : firstState(first) {}
    ~TitleScene() override;

    void Init(GameApp* app, Surface* canvas, JoystickInfo* joystick) override;
    void OnJoyButtonDown(UINT buttons) override;
    void OnJoyButtonUp(UINT buttons) override;
    void OnJoyMove(uint32_t position) override;
    void OnKeyDown(int vk) override;
    void Frame() override;
    void DrawOverShown(Surface& shown) override;

    int32_t state = kLogo;
    uint32_t stateTime = 0;  // when the phase began; the menu refreshes it every frame
    Surface* blackImage = nullptr;
    Surface* logoImage = nullptr;
    Surface* openingImage = nullptr;
    Surface* menuImage = nullptr;  // two menu pictures of equal height, one above the other

private:
    void Advance();
    void SelectPrevious();
    void SelectNext();
    void DrawLogo(uint32_t t);
    void DrawMenu();
    void LeaveForGame();
    // To the options or the replays.
    void LeaveFor(Scene* page);

    State firstState = kLogo;
    // The menu's last key, button or move of the pad; after 20 s without one, a demo plays.
    uint32_t lastTouched = 0;
};
