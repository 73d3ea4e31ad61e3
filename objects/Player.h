#pragma once
// The heroine. Each update she reads the keyboard and the first joystick herself (through the
// reads the game scene hands her: its run's journal), moves in steps at least 17 ms apart, fires
// into the shot list and may release a bomb that clears the enemy list; the game scene tests her
// against the enemies only in frames with a step.

#include <cstdint>

#include "objects/GameObject.h"
#include "objects/KeyBindings.h"
#include "platform/ControlReads.h"

class JoystickInfo;

class Player : public GameObject {
public:
    static constexpr int kMaxX = 288;
    static constexpr int kMaxY = 224;
    static constexpr int kStartX = 20;
    static constexpr int kStartY = 120;
    static constexpr int kMaxShots = 6;
    static constexpr int kBombCost = 30;

    ~Player() override;

    int Update(uint32_t now) override;

    bool stepped = false;      // this update made a movement step
    int32_t shotCooldown = 0;  // milliseconds until the next shot may leave
    int32_t gauge = 0;         // the scene's power gauge, lent for the update
    ObjectList* enemyList = nullptr;
    JoystickInfo* input = nullptr;
    KeyBindings keys = KeyBindings::Defaults();  // the game scene gives her the player's own
    const ControlReads* reads = &LiveControlReads();
    // Where her bombs note what they change on screen; null: not noted.
    struct BombChange* bombChange = nullptr;

private:
    uint32_t ReadJoystick() const;
    void Move(uint32_t joystick);
    void Fire();
    void ReleaseBomb();
};
