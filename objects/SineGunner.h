#pragma once
// A 30-point enemy on a sine wave 30 pixels high that fires fast bolts in pairs: one 500 ms
// after its time mark, the second 1000 ms later, which sets the next mark.

#include <cstdint>

#include "objects/GameObject.h"

class SineGunner : public GameObject {
public:
    int Update(uint32_t now) override;

    int32_t baseY = 0;      // centre line of the wave; 0 until taken
    uint32_t lastShot = 0;  // the time mark the pair counts from
    bool secondPending = false;
};

// Straight left at 0.32 pixels per millisecond. Shots pass through it; a bomb clears it.
class StraightBolt : public GameObject {
public:
    int Update(uint32_t now) override;
};
