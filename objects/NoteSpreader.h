#pragma once
// A 30-point enemy that flies straight left and, at most every 800 ms, releases a ring of
// sixteen notes spreading in every direction.

#include <cstdint>

#include "objects/GameObject.h"

class NoteSpreader : public GameObject {
public:
    int Update(uint32_t now) override;

    uint32_t lastShot = 0;

private:
    void ReleaseRing(int fromX, int fromY);
};
