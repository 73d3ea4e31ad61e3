#pragma once
// A 30-point enemy that flies left in straight and diagonal segments, changing segment at
// random moments, and fires every 300 ms or so: mostly arc shots, now and then a bolt.

#include <cstdint>

#include "objects/GameObject.h"

class PatternRunner : public GameObject {
public:
    int Update(uint32_t now) override;

    uint32_t lastShot = 0;
    // The segment: straight, straight, up-left, down-left, then round again. startX, startY
    // and lastStep are the start point and time of the current segment.
    int32_t phase = 0;

private:
    void Fire(int fromX, int fromY);
};

// Drifts left ever more slowly while it sinks at a steady rate: a parabola.
class ArcShot : public GameObject {
public:
    int Update(uint32_t now) override;
};
