#pragma once
// Flies left on a sine wave and, every 1.5 s or so, aims a red line at the heroine, marks
// where she is and calls down a blast centred on the marked spot. She escapes by leaving it.

#include <cstdint>

#include "objects/GameObject.h"

class Sniper : public GameObject {
public:
    int Update(uint32_t now) override;

    int32_t baseY = 0;      // centre line of the wave; 0 until taken
    uint32_t lastShot = 0;  // start of the current aiming cycle
    int32_t markX = 0;      // where she was when marked; markX 0 means no mark
    int32_t markY = 0;

private:
    void RunAimingCycle(uint32_t now);
};
