#pragma once
// The three common enemies. They fly in from beyond the right edge and fire aimed bullets,
// but never while the heroine is within 100 pixels of them, nor before they have been seen.

#include <cstdint>

#include "objects/EnemyProjectiles.h"
#include "objects/GameObject.h"

// Straight left at 0.16 pixels per millisecond; an aimed bullet at most once a second.
class StraightShooter : public GameObject {
public:
    int Update(uint32_t now) override;

    uint32_t lastShot = 0;
};

// Left on a sine wave 20 pixels high; an aimed bullet at most every half second, and now and
// then a drifting one.
class WaveShooter : public GameObject {
public:
    int Update(uint32_t now) override;

    int32_t baseY = 0;  // centre line of the wave; 0 until taken
    uint32_t lastShot = 0;
};

// Straight toward where the heroine was when it appeared, firing aimed bullets at random.
class DiveShooter : public GameObject {
public:
    static constexpr double kSpeed = 0.16;

    int Update(uint32_t now) override;

    AimedPath path;  // set by the spawner
};

// The wave the sine-wave fliers follow: sin(2*pi*(x mod 256)/255) scaled, around baseY.
int32_t WaveHeight(int32_t x, double amplitude, int32_t baseY);
