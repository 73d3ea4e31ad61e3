#pragma once
// The options screen, reached from the title menu: the volumes, the window, the keys of every
// action, the pad's buttons, the player's name and the assists, each changed on the spot and
// saved at once. Up/Down choose an entry, Left/Right change it, confirm opens it, back returns to
// the title menu; the pad's stick and its first two buttons do the same.

#include <cstdint>
#include <string>

#include "scenes/Scene.h"

class OptionsScene : public Scene {
public:
    enum class Entry : int {
        MusicVolume,
        EffectsVolume,
        WindowScale,
        FullScreen,
        FirstKey,  // one entry per action, Up to Pause
        FirstPadButton = FirstKey + 8,
        PlayerName = FirstPadButton + 4,
        ShowHitBox,
        CalmBomb,
        Reset,
        Back,
        Count,
    };
    enum class Mode { Browse, AwaitKey, AwaitButton, TypeName, AskReplace };

    ~OptionsScene() override;

    void Init(GameApp* app, Surface* canvas, JoystickInfo* joystick) override;
    void OnKeyPress(int vk) override;
    void OnJoyButtonDown(UINT buttons) override;
    void OnJoyButtonUp(UINT buttons) override;
    void OnJoyMove(uint32_t position) override;
    void Frame() override;
    void DrawOverShown(Surface& shown) override;

    Entry entry = Entry::MusicVolume;
    int keySlot = 0;  // which of an action's two keys Left/Right chose
    Mode mode = Mode::Browse;
    std::string note;  // what the last change did, such as a swap
    std::string name;  // the name being typed
    Surface* backdrop = nullptr;

private:
    void Move(int step);
    void Change(int step);
    void Confirm();
    void Back();
    void Typed(int vk);
    void PadTyped(int step);
    void BindKey(int vk);
    void BindButton(UINT buttons);
    void Answer(bool replace);
    // Puts the settings into effect and writes them.
    void Commit();
    void DrawEntry(int index, int row);
    void DrawPad(int row);

    int firstShown = 0;  // the entry at the top of the list
    UINT heldButtons = 0;
    int stickX = 0, stickY = 0;  // -1, 0 or 1: where the stick last stood
};
