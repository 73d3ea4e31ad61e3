#pragma once
// A 10-point enemy that flies straight left and drops a bomb every half second. A bomb sinks
// slowly until it reaches the heroine's height, wherever she is along the way, then bursts
// into six blasts around itself, one every 100 ms or so.

#include <cstdint>

#include "objects/GameObject.h"

class BombDropper : public GameObject {
public:
    int Update(uint32_t now) override;

    uint32_t lastShot = 0;
};

class DroppedBomb : public GameObject {
public:
    static constexpr int kBlasts = 6;

    int Update(uint32_t now) override;

    bool exploding = false;  // it has reached her height
    int32_t blastCount = 0;

private:
    bool AtHeroinesHeight(int atY) const;
    void Burst();
};
