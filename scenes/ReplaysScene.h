#pragma once
// The REPLAYS screen, reached from the title menu: the best and the last run of each length
// and any other replay file in the replays/ folder, each with its length, score and date, or
// why it cannot be played. Up/Down choose, confirm watches the chosen run in the replay viewer
// (which comes back here), back returns to the title menu; the pad's stick and its shooting
// and bombing buttons do the same.

#include <string>

#include "app/ReplayList.h"
#include "scenes/Scene.h"

class ReplaysScene : public Scene {
public:
    // chosen: the file to choose at first (the one just watched); note: a line to show, such
    // as why the last one stopped.
    explicit ReplaysScene(std::string chosen = "", std::string note = "");
    ~ReplaysScene() override;

    void Init(GameApp* app, Surface* canvas, JoystickInfo* joystick) override;
    void OnKeyPress(int vk) override;
    void OnJoyButtonDown(UINT buttons) override;
    void OnJoyButtonUp(UINT buttons) override;
    void OnJoyMove(uint32_t position) override;
    void Frame() override;
    void DrawOverShown(Surface& shown) override;

    ReplayList list;
    int chosen = 0;
    std::string note;
    Surface* backdrop = nullptr;

private:
    void Move(int step);
    void Confirm();
    void Back();
    void DrawEntry(int index, int row);
    void DrawDetail();

    std::string chosenPath;
    int firstShown = 0;
    bool watchChosen = false;  // confirmed: the viewer takes over in the next frame
    UINT heldButtons = 0;
    int stickY = 0;
};
